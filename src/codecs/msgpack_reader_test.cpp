// msgpack_reader_test.cpp - MessagePack to value: the type table, repeated keys, end of input, errors.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "binding/binding_property.h"
#include "codecs/msgpack_reader.h"

namespace {

using Brix::BindingKind;
using Brix::BindingProperty;

std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (int value : values) {
        bytes.push_back(static_cast<char>(value));
    }
    return bytes;
}

BindingProperty ReadOk(const std::string& bytes) {
    Brix::ConversionStatus status = Brix::MsgPack::Read(bytes);
    EXPECT_TRUE(status.Ok()) << status.Message();
    return std::move(status.Value());
}

std::string ReadError(const std::string& bytes) {
    const Brix::ConversionStatus status = Brix::MsgPack::Read(bytes);
    EXPECT_FALSE(status.Ok());
    return std::string(status.Message());
}

// The conformance vectors check values; this checks the kinds each type byte gives.
TEST(MsgPackReader, TypeBytesGiveTheirKinds) {
    const BindingProperty fixint = ReadOk(Bytes({0x05}));
    EXPECT_EQ(fixint.Kind(), BindingKind::Signed);
    EXPECT_EQ(fixint.AsSigned(), 5);
    EXPECT_EQ(ReadOk(Bytes({0x7F})).AsSigned(), 127);
    const BindingProperty uint8 = ReadOk(Bytes({0xCC, 0x05}));
    EXPECT_EQ(uint8.Kind(), BindingKind::Unsigned);
    EXPECT_EQ(uint8.AsUnsigned(), 5u);
    EXPECT_EQ(ReadOk(Bytes({0xE0})).AsSigned(), -32);
    EXPECT_EQ(ReadOk(Bytes({0xD0, 0x7F})).Kind(), BindingKind::Signed);
    EXPECT_EQ(ReadOk(Bytes({0xD1, 0xFF, 0x7F})).AsSigned(), -129);
    EXPECT_EQ(ReadOk(Bytes({0xCA, 0x3F, 0xC0, 0, 0})).AsFloat(), 1.5);
    EXPECT_TRUE(ReadOk(Bytes({0xC0})).IsEmpty());
    EXPECT_EQ(ReadOk(Bytes({0xC2})).Kind(), BindingKind::Bool);
    // Strings keep their bytes, NUL included; bin gives a blob.
    EXPECT_EQ(ReadOk(Bytes({0xA3, 'a', 0, 0xFF})).AsString(), std::string_view("a\0\xFF", 3));
    const BindingProperty blob = ReadOk(Bytes({0xC4, 2, 1, 2}));
    ASSERT_EQ(blob.Kind(), BindingKind::Blob);
    EXPECT_EQ(blob.AsBlob().size(), 2u);
}

TEST(MsgPackReader, ContainersAndRepeatedKeys) {
    // {"a": [1, nil], "b": {}}
    const BindingProperty value = ReadOk(Bytes({0x82, 0xA1, 'a', 0x92, 0x01, 0xC0, 0xA1, 'b', 0x80}));
    ASSERT_EQ(value.MemberCount(), 2u);
    EXPECT_EQ(value.Member("a").ElementCount(), 2u);
    EXPECT_TRUE(value.Member("a").Element(1).IsEmpty());
    EXPECT_EQ(value.Member("b").Kind(), BindingKind::Structure);

    // A repeated map merges; a repeated array overwrites from index 0 and keeps the rest.
    BindingProperty merged =
        ReadOk(Bytes({0x82, 0xA1, 'm', 0x81, 0xA1, 'x', 1, 0xA1, 'm', 0x81, 0xA1, 'y', 2}));
    EXPECT_EQ(merged.Member("m").MemberCount(), 2u);
    EXPECT_EQ(merged.Member("m").Member("y").AsSigned(), 2);
    BindingProperty overwritten = ReadOk(Bytes({0x82, 0xA1, 'a', 0x93, 1, 2, 3, 0xA1, 'a', 0x91, 9}));
    ASSERT_EQ(overwritten.Member("a").ElementCount(), 3u);
    EXPECT_EQ(overwritten.Member("a").Element(0).AsSigned(), 9);
    EXPECT_EQ(overwritten.Member("a").Element(2).AsSigned(), 3);
    // A scalar replaces a container, and a container a scalar.
    EXPECT_EQ(ReadOk(Bytes({0x82, 0xA1, 'a', 0x91, 1, 0xA1, 'a', 0xC3})).Member("a").Kind(),
              BindingKind::Bool);
    EXPECT_EQ(ReadOk(Bytes({0x82, 0xA1, 'a', 0xC3, 0xA1, 'a', 0x90})).Member("a").Kind(),
              BindingKind::Collection);
}

TEST(MsgPackReader, StopsAfterTheRootValueOrAtTheEndOfInput) {
    std::size_t consumed = 99;
    Brix::ConversionStatus status = Brix::MsgPack::Read(Bytes({0x91, 0x01, 0x02, 0x03}), &consumed);
    EXPECT_TRUE(status.Ok());
    EXPECT_EQ(status.Value().ElementCount(), 1u);
    EXPECT_EQ(consumed, 2u);

    // Trailing bytes are not looked at, even when they are not valid.
    status = Brix::MsgPack::Read(Bytes({0xC0, 0xC1}), &consumed);
    EXPECT_TRUE(status.Ok());
    EXPECT_EQ(consumed, 1u);

    // Input ending between items keeps what was read.
    status = Brix::MsgPack::Read(Bytes({0x92, 0x01}), &consumed);
    EXPECT_TRUE(status.Ok());
    EXPECT_EQ(status.Value().ElementCount(), 1u);
    EXPECT_EQ(consumed, 2u);
    status = Brix::MsgPack::Read(Bytes({0x82, 0xA1, 'a'}), &consumed);
    EXPECT_TRUE(status.Ok());
    EXPECT_EQ(status.Value().Kind(), BindingKind::Structure);
    EXPECT_EQ(status.Value().MemberCount(), 0u);

    status = Brix::MsgPack::Read("", &consumed);
    EXPECT_TRUE(status.Ok());
    EXPECT_TRUE(status.Value().IsEmpty());
    EXPECT_EQ(consumed, 0u);

    // A failure reports where reading stopped.
    status = Brix::MsgPack::Read(Bytes({0x92, 0x01, 0xC1, 0x00}), &consumed);
    EXPECT_FALSE(status.Ok());
    EXPECT_EQ(consumed, 3u);
}

TEST(MsgPackReader, RefusedTypesAndKeysNameThePositionAfterTheTypeByte) {
    EXPECT_EQ(ReadError(Bytes({0x81, 0x01, 0x02})),
              "Invalid MessagePack data at position 2. Map keys must be strings.");
    EXPECT_EQ(ReadError(Bytes({0x92, 0x00, 0x82, 0xA1, 'k', 0x01, 0xC0})),
              "Invalid MessagePack data at position 7. Map keys must be strings.");
    EXPECT_EQ(ReadError(Bytes({0xD4, 0x00, 0x00})), "Invalid MessagePack data at position 1.");
    EXPECT_EQ(ReadError(Bytes({0x91, 0xC1})), "Invalid MessagePack data at position 2.");

    // Nothing of the partly built value is kept.
    const Brix::ConversionStatus status = Brix::MsgPack::Read(Bytes({0x82, 0xA1, 'a', 0x01, 0x01}));
    EXPECT_EQ(status.Value().MemberCount(), 1u);
    EXPECT_EQ(status.Value().FindMember("a"), nullptr);
}

TEST(MsgPackReader, TruncatedFieldsNameTheirWidthAndStart) {
    const std::string prefix = "Invalid MessagePack data. ";
    EXPECT_EQ(ReadError(Bytes({0x81, 0xD9})), prefix + "8-bit integer value at position 2 is truncated.");
    EXPECT_EQ(ReadError(Bytes({0xDA, 0x00})), prefix + "16-bit integer value at position 1 is truncated.");
    EXPECT_EQ(ReadError(Bytes({0x91, 0xCA, 0, 0, 0})),
              prefix + "32-bit integer value at position 2 is truncated.");
    EXPECT_EQ(ReadError(Bytes({0xD3, 0})), prefix + "64-bit integer value at position 1 is truncated.");
    EXPECT_EQ(ReadError(Bytes({0x81, 0xD9, 3, 'k'})),
              prefix + "String of size 3 at position 3 is truncated.");
    EXPECT_EQ(ReadError(Bytes({0xC4, 2, 0})), prefix + "Raw bytes of size 2 at position 2 are truncated.");
}

TEST(MsgPackReader, HugeDeclaredLengthsAreCheckedBeforeAllocating) {
    EXPECT_EQ(ReadError(Bytes({0xDB, 0xFF, 0xFF, 0xFF, 0xFF, 'a'})),
              "Invalid MessagePack data. String of size 4294967295 at position 5 is truncated.");
    EXPECT_EQ(ReadError(Bytes({0xC6, 0xFF, 0xFF, 0xFF, 0xFF})),
              "Invalid MessagePack data. Raw bytes of size 4294967295 at position 5 are truncated.");
    // Containers only promise their counts: the items read are kept.
    EXPECT_EQ(ReadOk(Bytes({0xDD, 0xFF, 0xFF, 0xFF, 0xFF, 0x01})).ElementCount(), 1u);
    EXPECT_EQ(ReadOk(Bytes({0xDF, 0xFF, 0xFF, 0xFF, 0xFF, 0xA1, 'k', 0x01})).MemberCount(), 1u);
}

TEST(MsgPackReader, RefusesValuesNestedDeeperThanTheLimit) {
    // Each fixarray of one element is one byte: level 513 opens at offset 512.
    EXPECT_TRUE(Brix::MsgPack::Read(std::string(512, '\x91') + '\x01').Ok());
    EXPECT_EQ(ReadError(std::string(513, '\x91') + '\x01'),
              "Invalid MessagePack data at position 513. The document is nested deeper than 512 levels.");
    EXPECT_EQ(ReadError(std::string(512, '\x91') + Bytes({0xDC, 0, 1, 1})),
              "Invalid MessagePack data at position 513. The document is nested deeper than 512 levels.");
    std::string maps;
    for (int i = 0; i < 100000; ++i) {
        maps += Bytes({0x81, 0xA0});
    }
    EXPECT_EQ(ReadError(maps),
              "Invalid MessagePack data at position 1025. The document is nested deeper than 512 levels.");
}

}  // namespace
