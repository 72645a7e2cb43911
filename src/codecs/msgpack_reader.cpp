// msgpack_reader.cpp - MessagePack bytes to a generic value, with a stack of open arrays and maps.
#include "codecs/msgpack_reader.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <new>
#include <span>
#include <string>
#include <vector>

#include "codecs/nesting_limit.h"
#include "logging/message_formatter.h"

namespace Brix::MsgPack {

namespace {

constexpr uint64_t kMaxReservedItems = 64;

// Frame is one open container, or the root: the value being filled, how many items it expects and
// the index of the next one. A map counts its names and values as separate items, names at even
// indices; pendingName is the last name read, a view into the input.
struct Frame {
    BindingProperty* value;
    BindingKind kind;  // Collection, Structure, or Empty for the root
    uint64_t expected;
    uint64_t next = 0;
    std::string_view pendingName;
};

// Decoder walks the input once. Only the innermost container ever grows, so the addresses kept in
// the frames below it stay valid.
class Decoder {
public:
    Decoder(std::string_view input, BindingProperty& target) : bytes(input), root(&target) {}

    // Run reads until the root value is complete or the input ends; false after a failure.
    bool Run() {
        frames.push_back(Frame{root, BindingKind::Empty, 1});
        while (position < bytes.size() && !frames.empty()) {
            if (frames.back().next == frames.back().expected) {
                frames.pop_back();
                continue;
            }
            if (!ReadItem()) {
                return false;
            }
        }
        return true;
    }

    std::size_t Position() const noexcept { return position; }
    const std::string& Error() const noexcept { return error; }

    bool Fail(std::string message) {
        error = std::move(message);
        return false;
    }

private:
    std::size_t Left() const noexcept { return bytes.size() - position; }

    // ReadItem reads the next item of the innermost frame: a map name or a value.
    bool ReadItem() {
        const uint8_t type = Byte(position++);
        typeEnd = position;
        Frame& frame = frames.back();
        if (frame.kind == BindingKind::Structure && frame.next % 2 == 0) {
            if (!IsStringType(type)) {
                return Fail(FormatMessage(
                    "Invalid MessagePack data at position %1. Map keys must be strings.", position));
            }
            ++frame.next;
            return ReadString(type, frame.pendingName);
        }
        BindingProperty& target = Target(frame);
        ++frame.next;
        return ReadValue(type, target);
    }

    static BindingProperty& Target(const Frame& frame) {
        switch (frame.kind) {
            case BindingKind::Collection:
                return frame.value->ElementForWriting(static_cast<std::size_t>(frame.next));
            case BindingKind::Structure:
                return frame.value->MemberForWriting(frame.pendingName);
            default:
                return *frame.value;
        }
    }

    static bool IsStringType(uint8_t type) noexcept {
        return (type >= 0xA0 && type <= 0xBF) || (type >= 0xD9 && type <= 0xDB);
    }

    // ReadValue decodes the value of type into target. frames may grow, so no frame is held here.
    bool ReadValue(uint8_t type, BindingProperty& target) {
        if (type <= 0x7F) {
            target.SetSigned(int64_t{type});
            return true;
        }
        if (type >= 0xE0) {
            target.SetSigned(int64_t{static_cast<int8_t>(type)});
            return true;
        }
        if (type <= 0x8F) {
            return Open(target, BindingKind::Structure, uint64_t{type & 0x0Fu} * 2);
        }
        if (type <= 0x9F) {
            return Open(target, BindingKind::Collection, type & 0x0Fu);
        }
        if (IsStringType(type)) {
            std::string_view text;
            if (!ReadString(type, text)) {
                return false;
            }
            target.SetString(text);
            return true;
        }
        uint64_t number = 0;
        switch (type) {
            case 0xC0:
                target.Clear();
                return true;
            case 0xC2:
            case 0xC3:
                target.SetBool(type == 0xC3);
                return true;
            case 0xC4:
            case 0xC5:
            case 0xC6:
                return ReadBlob(std::size_t{1} << (type - 0xC4), target);
            case 0xCA:
                if (!ReadNumber(4, number)) {
                    return false;
                }
                target.SetFloat(double{std::bit_cast<float>(static_cast<uint32_t>(number))});
                return true;
            case 0xCB:
                if (!ReadNumber(8, number)) {
                    return false;
                }
                target.SetFloat(std::bit_cast<double>(number));
                return true;
            case 0xCC:
            case 0xCD:
            case 0xCE:
            case 0xCF:
                if (!ReadNumber(std::size_t{1} << (type - 0xCC), number)) {
                    return false;
                }
                target.SetUnsigned(number);
                return true;
            case 0xD0:
            case 0xD1:
            case 0xD2:
            case 0xD3:
                return ReadSigned(std::size_t{1} << (type - 0xD0), target);
            case 0xDC:
            case 0xDD:
                if (!ReadNumber(type == 0xDC ? 2 : 4, number)) {
                    return false;
                }
                return Open(target, BindingKind::Collection, number);
            case 0xDE:
            case 0xDF:
                if (!ReadNumber(type == 0xDE ? 2 : 4, number)) {
                    return false;
                }
                return Open(target, BindingKind::Structure, number * 2);
            default:
                // 0xC1 and the ext types.
                return Fail(FormatMessage("Invalid MessagePack data at position %1.", position));
        }
    }

    // Open turns target into a collection or structure (keeping one that is already there, so that a
    // repeated key merges or overwrites) and pushes a frame for its items. The declared count is only
    // a promise: room is reserved for no more items than the bytes left could hold, one byte each, and
    // for at most kMaxReservedItems, so that nested containers that promise much cost little; a larger
    // container grows as its items arrive.
    bool Open(BindingProperty& target, BindingKind kind, uint64_t items) {
        // The root frame is not a container.
        if (frames.size() - 1 == kMaxNestingDepth) {
            return Fail(
                FormatMessage("Invalid MessagePack data at position %1. %2", typeEnd, NestingTooDeepText()));
        }
        const std::size_t promised =
            static_cast<std::size_t>(std::min<uint64_t>({items, Left(), kMaxReservedItems}));
        if (kind == BindingKind::Collection) {
            target.ReserveElements(promised);
        } else {
            target.ReserveMembers(promised / 2);
        }
        frames.push_back(Frame{&target, kind, items});
        return true;
    }

    uint8_t Byte(std::size_t at) const noexcept { return static_cast<uint8_t>(bytes[at]); }

    // ReadNumber reads a big-endian unsigned number of width bytes.
    bool ReadNumber(std::size_t width, uint64_t& number) {
        if (Left() < width) {
            return Fail(
                FormatMessage("Invalid MessagePack data. %1-bit integer value at position %2 is truncated.",
                              width * 8, position));
        }
        number = 0;
        for (std::size_t i = 0; i < width; ++i) {
            number = (number << 8) | Byte(position + i);
        }
        position += width;
        return true;
    }

    bool ReadSigned(std::size_t width, BindingProperty& target) {
        uint64_t bits = 0;
        if (!ReadNumber(width, bits)) {
            return false;
        }
        switch (width) {
            case 1:
                target.SetSigned(int64_t{static_cast<int8_t>(bits)});
                break;
            case 2:
                target.SetSigned(int64_t{static_cast<int16_t>(bits)});
                break;
            case 4:
                target.SetSigned(int64_t{static_cast<int32_t>(bits)});
                break;
            default:
                target.SetSigned(static_cast<int64_t>(bits));
                break;
        }
        return true;
    }

    // ReadString reads the length of a fixstr or str 8/16/32 and then its bytes.
    bool ReadString(uint8_t type, std::string_view& text) {
        uint64_t length = type & 0x1Fu;
        if (type >= 0xD9 && !ReadNumber(std::size_t{1} << (type - 0xD9), length)) {
            return false;
        }
        if (length > Left()) {
            return Fail(
                FormatMessage("Invalid MessagePack data. String of size %1 at position %2 is truncated.",
                              length, position));
        }
        text = bytes.substr(position, static_cast<std::size_t>(length));
        position += text.size();
        return true;
    }

    bool ReadBlob(std::size_t lengthWidth, BindingProperty& target) {
        uint64_t length = 0;
        if (!ReadNumber(lengthWidth, length)) {
            return false;
        }
        if (length > Left()) {
            return Fail(
                FormatMessage("Invalid MessagePack data. Raw bytes of size %1 at position %2 are truncated.",
                              length, position));
        }
        const auto* start = reinterpret_cast<const uint8_t*>(bytes.data() + position);
        target.SetBlob(std::span<const uint8_t>(start, static_cast<std::size_t>(length)));
        position += static_cast<std::size_t>(length);
        return true;
    }

    std::string_view bytes;
    BindingProperty* root;
    std::size_t position = 0;
    std::size_t typeEnd = 0;  // the position just after the last type byte
    std::vector<Frame> frames;
    std::string error;
};

}  // namespace

ConversionStatus Read(std::string_view bytes, std::size_t* consumed) {
    ConversionStatus status;
    Decoder decoder(bytes, status.Value());
    bool ok = false;
    try {
        ok = decoder.Run();
    } catch (const std::bad_alloc&) {
        ok = decoder.Fail(
            FormatMessage("Invalid MessagePack data at position %1. Not enough memory to hold the value.",
                          decoder.Position()));
    }
    if (!ok) {
        status.Fail(decoder.Error());
    }
    if (consumed != nullptr) {
        *consumed = decoder.Position();
    }
    return status;
}

}  // namespace Brix::MsgPack
