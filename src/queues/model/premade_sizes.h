// premade_sizes.h - the party sizes that may enter a queue, from the queue restriction settings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "binding/binding_property.h"
#include "binding/maybe_type.h"
#include "queues/model/queue_id_table.h"

namespace Brix::Client::GameQueues {

// kInvalidPremadeSize and kPremadeSizeOutOfRange are the messages of a premade-size text that does
// not parse.
inline constexpr std::string_view kInvalidPremadeSize = "invalid stoi argument";
inline constexpr std::string_view kPremadeSizeOutOfRange = "stoi argument out of range";

// kMaxDefaultPremadeSizes is the most sizes a queue without a premade-size setting gets from its
// participant range. The range's ends come from the matchmaker as 32-bit numbers, so without a bound
// one queue could ask for billions of sizes (a range of 0 to 2147483647 takes 8 GiB).
inline constexpr std::size_t kMaxDefaultPremadeSizes = 64;

// ParsePremadeSizes splits text at every "," and reads each piece, empty pieces included, as a
// base-10 signed 32-bit number: leading white space and one sign are taken, text after the digits is
// ignored. A piece without digits fails with kInvalidPremadeSize, a number outside 32 bits with
// kPremadeSizeOutOfRange (both status 500). Numbers keep their text order, duplicates included.
MaybeType<std::vector<int32_t>> ParsePremadeSizes(std::string_view text);

// AllowablePremadeSizes reads the member "AllowablePremadeSizesForQueueId<queueId>" of the queue
// restriction settings in its text form and parses it. Without text, queue 440 allows 1, 2, 3 and 5,
// every other queue each size from minimumSize to maximumSize (none when the minimum is larger). A
// range of more than kMaxDefaultPremadeSizes sizes gives its first kMaxDefaultPremadeSizes sizes and
// logs the error "Queue %d allows premade sizes from %d to %d; only the first %d are published.".
MaybeType<std::vector<int32_t>> AllowablePremadeSizes(const BindingProperty& queueRestriction,
                                                      int32_t queueId, int32_t minimumSize,
                                                      int32_t maximumSize);

// PremadeSizeSettings indexes the premade-size members of the queue restriction settings by queue id,
// so that a list build finds each queue's member without a search by name. A member counts for the
// id whose decimal text (as FormatMessage writes it: no "+", no leading zeros) follows the prefix
// "AllowablePremadeSizesForQueueId", exactly the member AllowablePremadeSizes looks up. It refers to
// the members of the settings, which must outlive it unchanged.
class PremadeSizeSettings {
public:
    explicit PremadeSizeSettings(const BindingProperty& queueRestriction);

    // Find is the premade-size member for queueId, or null.
    const BindingProperty* Find(int32_t queueId) const noexcept;

    // AllowableSizes is AllowablePremadeSizes over the indexed settings.
    MaybeType<std::vector<int32_t>> AllowableSizes(int32_t queueId, int32_t minimumSize,
                                                   int32_t maximumSize) const;

private:
    QueueIdTable<const BindingProperty*> members;
};

}  // namespace Brix::Client::GameQueues
