// exported_symbols_elf.cpp - the dynamic symbol table of an ELF shared library, 32-bit or 64-bit.
#include <elf.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "exported_symbols.h"

namespace HuxTest {

namespace {

// ElfTypes are the header, section and symbol records of one ELF class.
template <typename Header, typename Section, typename Symbol>
struct ElfTypes {
    using HeaderType = Header;
    using SectionType = Section;
    using SymbolType = Symbol;
};
using Elf32 = ElfTypes<Elf32_Ehdr, Elf32_Shdr, Elf32_Sym>;
using Elf64 = ElfTypes<Elf64_Ehdr, Elf64_Shdr, Elf64_Sym>;

template <typename Types>
std::vector<std::string> DefinedDynamicSymbols(const std::vector<char>& bytes) {
    auto read = [&bytes](std::size_t offset, auto& out) {
        EXPECT_LE(offset + sizeof out, bytes.size());
        if (offset + sizeof out <= bytes.size()) {
            std::memcpy(&out, bytes.data() + offset, sizeof out);
        }
    };
    typename Types::HeaderType header{};
    read(0, header);
    std::vector<typename Types::SectionType> sections(header.e_shnum);
    for (std::size_t i = 0; i < sections.size(); ++i) {
        read(header.e_shoff + i * header.e_shentsize, sections[i]);
    }
    std::vector<std::string> names;
    for (const auto& section : sections) {
        if (section.sh_type != SHT_DYNSYM) {
            continue;
        }
        const auto& strings = sections.at(section.sh_link);
        for (std::size_t at = 0; at + sizeof(typename Types::SymbolType) <= section.sh_size;
             at += sizeof(typename Types::SymbolType)) {
            typename Types::SymbolType symbol{};
            read(section.sh_offset + at, symbol);
            const unsigned binding = symbol.st_info >> 4;
            if (symbol.st_shndx == SHN_UNDEF || (binding != STB_GLOBAL && binding != STB_WEAK)) {
                continue;
            }
            names.emplace_back(bytes.data() + strings.sh_offset + symbol.st_name);
        }
    }
    return names;
}

std::vector<char> ReadFileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

}  // namespace

std::vector<std::string> ExportedSymbols(const std::string& path) {
    const std::vector<char> bytes = ReadFileBytes(path);
    if (bytes.size() < sizeof(Elf64_Ehdr) || std::memcmp(bytes.data(), ELFMAG, SELFMAG) != 0) {
        ADD_FAILURE() << path << " is not an ELF file";
        return {};
    }
    return bytes[EI_CLASS] == ELFCLASS64 ? DefinedDynamicSymbols<Elf64>(bytes)
                                         : DefinedDynamicSymbols<Elf32>(bytes);
}

}  // namespace HuxTest
