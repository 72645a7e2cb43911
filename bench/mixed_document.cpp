// mixed_document.cpp - the generator of the mixed document.
#include "bench/mixed_document.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace Brix::Bench {

namespace {

// kRecordCount is the number of records: enough for about 1 MB of compact JSON.
constexpr std::size_t kRecordCount = 2750;

// Draws is a SplitMix64 sequence from a fixed seed: the same numbers everywhere.
class Draws {
public:
    uint64_t Next() noexcept {
        state += 0x9E3779B97F4A7C15;
        uint64_t z = state;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EB;
        return z ^ (z >> 31);
    }
    // Below is a number in [0, bound).
    uint64_t Below(uint64_t bound) noexcept { return Next() % bound; }
    bool OneIn(uint64_t odds) noexcept { return Below(odds) == 0; }

private:
    uint64_t state = 0x4B454C44;
};

constexpr std::array<std::string_view, 16> kSyllables = {"ka",  "rel",  "vo",  "nesk", "tho", "mir",
                                                         "zu",  "plen", "dro", "quay", "bex", "lor",
                                                         "sti", "gan",  "ufo", "wen"};

// The pieces that make some strings need escapes or multi-byte sequences in every text form.
constexpr std::array<std::string_view, 6> kOddPieces = {"\"", "\\", "\n", "\t", "\xC3\xA9", "\xE2\x9C\x93"};

std::string Words(Draws& draws, std::size_t maxWords) {
    std::string text;
    const std::size_t words = 1 + draws.Below(maxWords);
    for (std::size_t word = 0; word < words; ++word) {
        if (word != 0) {
            text += ' ';
        }
        const std::size_t syllables = 1 + draws.Below(3);
        for (std::size_t syllable = 0; syllable < syllables; ++syllable) {
            text += kSyllables[draws.Below(kSyllables.size())];
        }
        if (draws.OneIn(8)) {
            text += kOddPieces[draws.Below(kOddPieces.size())];
        }
    }
    return text;
}

// Fraction is a float that every reader reads back exactly, RapidJSON's default (not fully precise)
// parse included: a number of thousandths with a fractional part, at times scaled far down, or now and
// then a whole multiple of 1e21 (too large for any 64-bit integer). Each is written with at most seven
// significant digits and a power of ten within 1e22, which a reader computes with one rounding.
double Fraction(Draws& draws) {
    const auto thousandths = static_cast<double>(1000 * draws.Below(1000) + 1 + draws.Below(999));
    double value = thousandths / 1000.0;
    if (draws.OneIn(10)) {
        value = static_cast<double>(1 + draws.Below(999)) * 1e21;
    } else if (draws.OneIn(10)) {
        value = thousandths / 1e12;
    }
    return draws.OneIn(3) ? -value : value;
}

void SetNegative(BindingProperty& value, Draws& draws) {
    value.SetSigned(-1 - static_cast<int64_t>(draws.Below(uint64_t{1} << (8 * (1 + draws.Below(7))))));
}

void SetUnsigned(BindingProperty& value, Draws& draws) {
    value.SetUnsigned(draws.Below(uint64_t{1} << (4 * (1 + draws.Below(15)))));
}

// AddChain adds a chain of nested lists and structures, depth levels deep, ending in a number.
void AddChain(BindingProperty& value, Draws& draws, std::size_t depth) {
    BindingProperty* level = &value;
    for (std::size_t i = 0; i < depth; ++i) {
        level = (i % 2 == 0) ? &level->MemberForWriting("kappo") : &level->AppendElement();
    }
    SetUnsigned(*level, draws);
}

void AddRecord(BindingProperty& record, Draws& draws, std::size_t index) {
    record.MemberForWriting("brell").SetUnsigned(uint64_t{index});
    SetNegative(record.MemberForWriting("zask"), draws);
    record.MemberForWriting("fendo").SetFloat(Fraction(draws));
    record.MemberForWriting("gorrel").SetString(Words(draws, 6));
    record.MemberForWriting("hosk").SetBool(draws.OneIn(2));
    record.MemberForWriting("jarn");  // null

    BindingProperty& numbers = record.MemberForWriting("lumo");
    numbers.MakeCollection();
    for (std::size_t i = draws.Below(9); i > 0; --i) {
        SetUnsigned(numbers.AppendElement(), draws);
    }
    BindingProperty& texts = record.MemberForWriting("mivv");
    texts.MakeCollection();
    for (std::size_t i = draws.Below(5); i > 0; --i) {
        texts.AppendElement().SetString(Words(draws, 2));
    }

    BindingProperty& nested = record.MemberForWriting("nesk");
    BindingProperty& inner = nested.MemberForWriting("ostra");
    inner.MemberForWriting("prav").SetFloat(Fraction(draws));
    BindingProperty& mixed = inner.MemberForWriting("quelm");
    mixed.AppendElement().SetBool(draws.OneIn(2));
    mixed.AppendElement();  // null
    SetNegative(mixed.AppendElement(), draws);
    nested.MemberForWriting("ruskel").SetString(Words(draws, 3));

    BindingProperty& parts = record.MemberForWriting("sorn");
    parts.MakeCollection();
    for (std::size_t i = draws.Below(4); i > 0; --i) {
        BindingProperty& part = parts.AppendElement();
        SetUnsigned(part.MemberForWriting("teppo"), draws);
        part.MemberForWriting("ulda").SetString(Words(draws, 2));
    }

    if (draws.OneIn(5)) {
        record.MemberForWriting("vesk").MakeStructure();
        record.MemberForWriting("wimm").MakeCollection();
    }
    if (draws.OneIn(20)) {
        AddChain(record.MemberForWriting("yorr"), draws, 4 + draws.Below(8));
    }
}

}  // namespace

BindingProperty MixedDocument() {
    Draws draws;
    BindingProperty document;
    document.MemberForWriting("keld").SetString("mixed");
    BindingProperty& records = document.MemberForWriting("tarn");
    records.ReserveElements(kRecordCount);
    for (std::size_t i = 0; i < kRecordCount; ++i) {
        AddRecord(records.AppendElement(), draws, i);
    }
    BindingProperty& summary = document.MemberForWriting("vorn");
    summary.MemberForWriting("drelt").SetUnsigned(uint64_t{kRecordCount});
    summary.MemberForWriting("zibb").SetFloat(0.125);
    return document;
}

}  // namespace Brix::Bench
