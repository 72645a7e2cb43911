// conversion_messages.h - the messages of the value converters, with their positional placeholders.
#pragma once

namespace Brix::ConversionMessages {

// %1 the target name.
inline constexpr const char* kRequired = "A value for '%1' is required.";
// %1 the text, %2 the target name.
inline constexpr const char* kBoolFormat =
    "Value %1 for '%2' of type bool is in an incorrect format. Options are \"true\", \"false\", \"1\", "
    "\"0\".";
// %1 the target name, %2 the kind name.
inline constexpr const char* kBoolType =
    "Couldn't assign value to '%1' of type bool because the input is of an invalid type %2.";
// %1 the input, %2 the target name, %3 the native type name.
inline constexpr const char* kNumberFormat = "Value %1 for '%2' of type %3 is in an incorrect format";
inline constexpr const char* kNumberRange = "Value %1 for '%2' of type %3 is out of range";
// %1 the target name, %2 the native type name, %3 the kind name.
inline constexpr const char* kNumberType =
    "Couldn't assign value to '%1' of type %2 because the input is of an invalid type %3.";
// %1 the number, %2 the target name.
inline constexpr const char* kStringEnum = "%1 is not a valid enumeration value for '%2'.";
// %1 the target name.
inline constexpr const char* kStringType = "Couldn't assign value to '%1' because the input is not a string.";
// %1 the number or text, %2 the enum's registered name, %3 the target name.
inline constexpr const char* kEnumValue = "%1 is not a valid %2 enumeration value for '%3'.";
// %1 the target name, %2 the kind name.
inline constexpr const char* kEnumType =
    "Couldn't assign value to '%1' of enum type because the input is of an invalid type %2.";
// %1 the target name.
inline constexpr const char* kStructUnregistered =
    "Couldn't assign value to '%1' because the input is an unregistered structure or not a structure at all.";
// %1 the target name, %2 the struct's registered name.
inline constexpr const char* kStructType =
    "Couldn't assign value to '%1' of type %2 because the input not a structure.";
// %1 the target name, %2 the struct's registered name, %3 the field name.
inline constexpr const char* kStructRequired =
    "Couldn't assign value to '%1' of type %2 because the input structure doesn't have required field '%3'.";
// %1 the target name.
inline constexpr const char* kVectorType =
    "Couldn't assign value to '%1' of type vector because the input not a collection.";
inline constexpr const char* kMapType =
    "Couldn't assign value to '%1' of type map because the input not a structure.";
inline constexpr const char* kBlobType =
    "Couldn't assign value to '%1' of type blob because the input is of an invalid type %2.";
inline constexpr const char* kNativeUnregistered =
    "Couldn't convert native value because it's an unregistered structure.";

}  // namespace Brix::ConversionMessages
