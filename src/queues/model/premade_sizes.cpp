// premade_sizes.cpp - premade-size settings: parsing the comma-separated text and the defaults.
#include "queues/model/premade_sizes.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <string>

#include "binding/failure.h"
#include "logging/logger.h"
#include "text/decimal_text.h"

namespace Brix::Client::GameQueues {

namespace {

constexpr int32_t kQueueWithFixedPremadeSizes = 440;

constexpr std::string_view kPremadeSizesKeyPrefix = "AllowablePremadeSizesForQueueId";

// PremadeSizesKey is the name of a queue's premade-size setting: the prefix and the id in decimal,
// made on the stack since every queue of a list build asks for it.
class PremadeSizesKey {
public:
    explicit PremadeSizesKey(int32_t queueId) {
        std::copy(kPremadeSizesKeyPrefix.begin(), kPremadeSizesKeyPrefix.end(), text.begin());
        const char* end =
            std::to_chars(text.data() + kPremadeSizesKeyPrefix.size(), text.data() + text.size(), queueId)
                .ptr;
        length = static_cast<std::size_t>(end - text.data());
    }

    std::string_view View() const { return {text.data(), length}; }

private:
    // Room for the prefix, a sign and the ten digits of a 32-bit number.
    std::array<char, kPremadeSizesKeyPrefix.size() + 11> text{};
    std::size_t length = 0;
};

// ParsePiece reads one piece the way the standard library's stoi reads base 10.
MaybeType<int32_t> ParsePiece(std::string_view piece) {
    const Text::DecimalResult<int32_t> read =
        Text::ParseDecimal<int32_t>(piece, {.skipSpace = true, .allowSign = true, .allowRest = true});
    switch (read.status) {
        case Text::DecimalStatus::Ok:
            break;
        case Text::DecimalStatus::NoNumber:
            return InternalServerError(kInvalidPremadeSize);
        case Text::DecimalStatus::OutOfRange:
            return InternalServerError(kPremadeSizeOutOfRange);
    }
    return read.value;
}

}  // namespace

MaybeType<std::vector<int32_t>> ParsePremadeSizes(std::string_view text) {
    std::vector<int32_t> sizes;
    sizes.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), ',')) + 1);
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

namespace {

// SizesFromMember is AllowablePremadeSizes once the queue's member (or null) has been found.
MaybeType<std::vector<int32_t>> SizesFromMember(const BindingProperty* member, int32_t queueId,
                                                int32_t minimumSize, int32_t maximumSize) {
    const std::string text = member != nullptr ? member->ToText() : std::string();
    if (!text.empty()) {
        return ParsePremadeSizes(text);
    }
    if (queueId == kQueueWithFixedPremadeSizes) {
        return std::vector<int32_t>{1, 2, 3, 5};
    }
    std::vector<int32_t> sizes;
    if (minimumSize <= maximumSize) {
        sizes.reserve(static_cast<std::size_t>(std::min(int64_t{maximumSize} - int64_t{minimumSize} + 1,
                                                        static_cast<int64_t>(kMaxDefaultPremadeSizes))));
    }
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

// MemberQueueId is the queue id whose premade-size member is named name, if there is one.
std::optional<int32_t> MemberQueueId(std::string_view name) {
    if (!name.starts_with(kPremadeSizesKeyPrefix)) {
        return std::nullopt;
    }
    const Text::DecimalResult<int32_t> read =
        Text::ParseDecimal<int32_t>(name.substr(kPremadeSizesKeyPrefix.size()), {.allowSign = true});
    // "05", "+5" and "-0" read as numbers too, but no queue's key is written that way.
    if (read.status != Text::DecimalStatus::Ok || PremadeSizesKey(read.value).View() != name) {
        return std::nullopt;
    }
    return read.value;
}

}  // namespace

MaybeType<std::vector<int32_t>> AllowablePremadeSizes(const BindingProperty& queueRestriction,
                                                      int32_t queueId, int32_t minimumSize,
                                                      int32_t maximumSize) {
    return SizesFromMember(queueRestriction.FindMember(PremadeSizesKey(queueId).View()), queueId, minimumSize,
                           maximumSize);
}

PremadeSizeSettings::PremadeSizeSettings(const BindingProperty& queueRestriction)
    : members(queueRestriction.Members().size()) {
    // Names are unique and each id has one key, so no id is added twice.
    for (const auto [name, value] : queueRestriction.Members()) {
        if (const std::optional<int32_t> queueId = MemberQueueId(name)) {
            members.Add(*queueId, &value);
        }
    }
}

const BindingProperty* PremadeSizeSettings::Find(int32_t queueId) const noexcept {
    const BindingProperty* const* member = members.Find(queueId);
    return member != nullptr ? *member : nullptr;
}

MaybeType<std::vector<int32_t>> PremadeSizeSettings::AllowableSizes(int32_t queueId, int32_t minimumSize,
                                                                    int32_t maximumSize) const {
    return SizesFromMember(Find(queueId), queueId, minimumSize, maximumSize);
}

}  // namespace Brix::Client::GameQueues
