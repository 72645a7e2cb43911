// exported_symbols_test.cpp - the plugin library's dynamic symbol table holds exactly its entry function.
#include <elf.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// DefinedDynamicSymbols reads an ELF64 file and lists the global and weak symbols that its dynamic
// symbol table defines (the symbols it exports).
std::vector<std::string> DefinedDynamicSymbols(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_GE(bytes.size(), sizeof(Elf64_Ehdr));
    if (bytes.size() < sizeof(Elf64_Ehdr)) {
        return {};
    }
    auto read = [&bytes](size_t offset, auto& out) {
        EXPECT_LE(offset + sizeof out, bytes.size());
        if (offset + sizeof out <= bytes.size()) {
            std::memcpy(&out, bytes.data() + offset, sizeof out);
        }
    };
    Elf64_Ehdr header{};
    read(0, header);
    EXPECT_EQ(header.e_ident[EI_CLASS], ELFCLASS64);

    std::vector<Elf64_Shdr> sections(header.e_shnum);
    for (size_t i = 0; i < sections.size(); ++i) {
        read(header.e_shoff + i * header.e_shentsize, sections[i]);
    }
    std::vector<std::string> names;
    for (const Elf64_Shdr& section : sections) {
        if (section.sh_type != SHT_DYNSYM) {
            continue;
        }
        const Elf64_Shdr& strings = sections.at(section.sh_link);
        for (size_t at = 0; at + sizeof(Elf64_Sym) <= section.sh_size; at += sizeof(Elf64_Sym)) {
            Elf64_Sym symbol{};
            read(section.sh_offset + at, symbol);
            const unsigned binding = ELF64_ST_BIND(symbol.st_info);
            if (symbol.st_shndx == SHN_UNDEF || (binding != STB_GLOBAL && binding != STB_WEAK)) {
                continue;
            }
            names.emplace_back(bytes.data() + strings.sh_offset + symbol.st_name);
        }
    }
    return names;
}

TEST(PluginLibrary, ExportsExactlyTheEntryFunction) {
    EXPECT_EQ(DefinedDynamicSymbols(HUX_PLUGIN_PATH), std::vector<std::string>{"load_hux_game_queues"});
}

}  // namespace
