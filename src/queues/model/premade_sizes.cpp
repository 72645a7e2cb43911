// premade_sizes.cpp - premade-size settings: parsing the comma-separated text and the defaults.
#include "queues/model/premade_sizes.h"

#include <limits>
#include <string>

#include "binding/failure.h"
#include "logging/logger.h"
#include "logging/message_formatter.h"

namespace Brix::Client::GameQueues {

namespace {

constexpr int32_t kQueueWithFixedPremadeSizes = 440;

bool IsWhiteSpace(char c) noexcept {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) noexcept {
    return c >= '0' && c <= '9';
}

// ParsePiece reads one piece the way the standard library's stoi reads base 10.
MaybeType<int32_t> ParsePiece(std::string_view piece) {
    std::size_t at = 0;
    while (at < piece.size() && IsWhiteSpace(piece[at])) {
        ++at;
    }
    bool negative = false;
    if (at < piece.size() && (piece[at] == '+' || piece[at] == '-')) {
        negative = piece[at] == '-';
        ++at;
    }
    if (at >= piece.size() || !IsDigit(piece[at])) {
        return InternalServerError(kInvalidPremadeSize);
    }
    // The magnitude stops growing once it is past every 32-bit value, so long digit runs cannot wrap.
    constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    int64_t magnitude = 0;
    for (; at < piece.size() && IsDigit(piece[at]); ++at) {
        if (magnitude <= kLimit) {
            magnitude = magnitude * 10 + (piece[at] - '0');
        }
    }
    const int64_t value = negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max()) {
        return InternalServerError(kPremadeSizeOutOfRange);
    }
    return static_cast<int32_t>(value);
}

}  // namespace

MaybeType<std::vector<int32_t>> ParsePremadeSizes(std::string_view text) {
    std::vector<int32_t> sizes;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        const std::size_t end = comma == std::string_view::npos ? text.size() : comma;
        MaybeType<int32_t> size = ParsePiece(text.substr(start, end - start));
        if (!size) {
            return size.Error();
        }
        sizes.push_back(size.Value());
        if (comma == std::string_view::npos) {
            return sizes;
        }
        start = comma + 1;
    }
}

MaybeType<std::vector<int32_t>> AllowablePremadeSizes(const BindingProperty& queueRestriction,
                                                      int32_t queueId, int32_t minimumSize,
                                                      int32_t maximumSize) {
    const std::string key = FormatMessage("AllowablePremadeSizesForQueueId%1", queueId);
    const BindingProperty* member = queueRestriction.FindMember(key);
    const std::string text = member != nullptr ? member->ToText() : std::string();
    if (!text.empty()) {
        return ParsePremadeSizes(text);
    }
    if (queueId == kQueueWithFixedPremadeSizes) {
        return std::vector<int32_t>{1, 2, 3, 5};
    }
    std::vector<int32_t> sizes;
    // Counted in 64 bits so that a maximum of INT32_MAX still ends the walk.
    for (int64_t size = minimumSize; size <= maximumSize && sizes.size() < kMaxDefaultPremadeSizes; ++size) {
        sizes.push_back(static_cast<int32_t>(size));
    }
    if (int64_t{maximumSize} - int64_t{minimumSize} >= static_cast<int64_t>(kMaxDefaultPremadeSizes)) {
        Log(LogLevel::Error, kPluginLogGroup,
            "Queue %d allows premade sizes from %d to %d; only the first %d are published.", queueId,
            minimumSize, maximumSize, static_cast<int>(kMaxDefaultPremadeSizes));
    }
    return sizes;
}

}  // namespace Brix::Client::GameQueues
