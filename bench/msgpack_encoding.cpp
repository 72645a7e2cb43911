// msgpack_encoding.cpp - the MessagePack encoder of the benchmark data.
#include "bench/msgpack_encoding.h"

#include <bit>
#include <cstdint>
#include <limits>

namespace Brix::Bench {

namespace {

// AppendBigEndian appends the low `bytes` bytes of number, most significant first.
void AppendBigEndian(std::string& out, uint64_t number, int bytes) {
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8) {
        out += static_cast<char>((number >> shift) & 0xFF);
    }
}

void AppendByte(std::string& out, unsigned byte) {
    out += static_cast<char>(byte);
}

void AppendUnsigned(std::string& out, uint64_t number) {
    if (number < 128) {
        AppendByte(out, static_cast<unsigned>(number));
    } else if (number <= std::numeric_limits<uint8_t>::max()) {
        AppendByte(out, 0xCC);
        AppendBigEndian(out, number, 1);
    } else if (number <= std::numeric_limits<uint16_t>::max()) {
        AppendByte(out, 0xCD);
        AppendBigEndian(out, number, 2);
    } else if (number <= std::numeric_limits<uint32_t>::max()) {
        AppendByte(out, 0xCE);
        AppendBigEndian(out, number, 4);
    } else {
        AppendByte(out, 0xCF);
        AppendBigEndian(out, number, 8);
    }
}

void AppendSigned(std::string& out, int64_t number) {
    if (number >= 0) {
        AppendUnsigned(out, static_cast<uint64_t>(number));
        return;
    }
    const auto bits = static_cast<uint64_t>(number);
    if (number >= -32) {
        AppendByte(out, static_cast<unsigned>(bits & 0xFF));
    } else if (number >= std::numeric_limits<int8_t>::min()) {
        AppendByte(out, 0xD0);
        AppendBigEndian(out, bits, 1);
    } else if (number >= std::numeric_limits<int16_t>::min()) {
        AppendByte(out, 0xD1);
        AppendBigEndian(out, bits, 2);
    } else if (number >= std::numeric_limits<int32_t>::min()) {
        AppendByte(out, 0xD2);
        AppendBigEndian(out, bits, 4);
    } else {
        AppendByte(out, 0xD3);
        AppendBigEndian(out, bits, 8);
    }
}

// AppendHeader writes the type byte and length of a str, bin, array or map: fixBase plus the length
// when it is below fixLimit, else byte8, byte16 or byte32 followed by the length in 1, 2 or 4 bytes
// (a byte8 of 0: the type has no 8-bit form).
void AppendHeader(std::string& out, std::size_t length, unsigned fixBase, std::size_t fixLimit,
                  unsigned byte8, unsigned byte16, unsigned byte32) {
    if (length < fixLimit) {
        AppendByte(out, fixBase + static_cast<unsigned>(length));
    } else if (byte8 != 0 && length <= std::numeric_limits<uint8_t>::max()) {
        AppendByte(out, byte8);
        AppendBigEndian(out, length, 1);
    } else if (length <= std::numeric_limits<uint16_t>::max()) {
        AppendByte(out, byte16);
        AppendBigEndian(out, length, 2);
    } else {
        AppendByte(out, byte32);
        AppendBigEndian(out, length, 4);
    }
}

void AppendString(std::string& out, std::string_view text) {
    AppendHeader(out, text.size(), 0xA0, 32, 0xD9, 0xDA, 0xDB);
    out += text;
}

void AppendValue(std::string& out, const BindingProperty& value) {
    switch (value.Kind()) {
        case BindingKind::Empty:
            AppendByte(out, 0xC0);
            break;
        case BindingKind::Bool:
            AppendByte(out, value.AsBool() ? 0xC3 : 0xC2);
            break;
        case BindingKind::Signed:
            AppendSigned(out, value.AsSigned());
            break;
        case BindingKind::Unsigned:
            AppendUnsigned(out, value.AsUnsigned());
            break;
        case BindingKind::Float:
            AppendByte(out, 0xCB);
            AppendBigEndian(out, std::bit_cast<uint64_t>(value.AsFloat()), 8);
            break;
        case BindingKind::String:
            AppendString(out, value.AsString());
            break;
        case BindingKind::Blob: {
            const auto bytes = value.AsBlob();
            AppendHeader(out, bytes.size(), 0, 0, 0xC4, 0xC5, 0xC6);
            out.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
            break;
        }
        case BindingKind::Enum:
            AppendSigned(out, value.EnumNumber());
            break;
        case BindingKind::Collection:
            AppendHeader(out, value.ElementCount(), 0x90, 16, 0, 0xDC, 0xDD);
            for (const BindingProperty& element : value.Elements()) {
                AppendValue(out, element);
            }
            break;
        case BindingKind::Structure:
            AppendHeader(out, value.MemberCount(), 0x80, 16, 0, 0xDE, 0xDF);
            for (const auto& [name, member] : value.Members()) {
                AppendString(out, name);
                AppendValue(out, member);
            }
            break;
    }
}

}  // namespace

std::string EncodeMsgPack(const BindingProperty& value) {
    std::string out;
    AppendValue(out, value);
    return out;
}

}  // namespace Brix::Bench
