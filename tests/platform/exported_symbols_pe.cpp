// exported_symbols_pe.cpp - the export directory of a Windows DLL (PE32 or PE32+), read from the file.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "exported_symbols.h"

namespace HuxTest {

namespace {

// PeFile reads records out of the bytes of a PE file, by file offset or by relative virtual address.
class PeFile {
public:
    explicit PeFile(std::vector<char> content) : bytes(std::move(content)) {}

    template <typename Record>
    bool Read(std::size_t offset, Record& out) const {
        if (offset > bytes.size() || bytes.size() - offset < sizeof out) {
            return false;
        }
        std::memcpy(&out, bytes.data() + offset, sizeof out);
        return true;
    }

    // Offset is the file offset of a relative virtual address, through the section table.
    std::size_t Offset(DWORD rva) const {
        for (const IMAGE_SECTION_HEADER& section : sections) {
            if (rva >= section.VirtualAddress && rva < section.VirtualAddress + section.SizeOfRawData) {
                return rva - section.VirtualAddress + section.PointerToRawData;
            }
        }
        return bytes.size();
    }

    std::string TextAt(DWORD rva) const {
        const std::size_t offset = Offset(rva);
        std::string text;
        for (std::size_t at = offset; at < bytes.size() && bytes[at] != '\0'; ++at) {
            text += bytes[at];
        }
        return text;
    }

    std::vector<IMAGE_SECTION_HEADER> sections;

private:
    std::vector<char> bytes;
};

std::vector<char> ReadFileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

}  // namespace

std::vector<std::string> ExportedSymbols(const std::string& path) {
    PeFile file(ReadFileBytes(path));
    IMAGE_DOS_HEADER dos{};
    DWORD signature = 0;
    IMAGE_FILE_HEADER header{};
    if (!file.Read(0, dos) || dos.e_magic != IMAGE_DOS_SIGNATURE || !file.Read(dos.e_lfanew, signature) ||
        signature != IMAGE_NT_SIGNATURE || !file.Read(dos.e_lfanew + sizeof signature, header)) {
        ADD_FAILURE() << path << " is not a PE file";
        return {};
    }
    const std::size_t optional = dos.e_lfanew + sizeof signature + sizeof header;
    WORD magic = 0;
    file.Read(optional, magic);
    IMAGE_DATA_DIRECTORY exports{};
    if (magic == IMAGE_NT_OPTIONAL_HDR32_MAGIC) {
        IMAGE_OPTIONAL_HEADER32 image{};
        file.Read(optional, image);
        exports = image.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    } else {
        IMAGE_OPTIONAL_HEADER64 image{};
        file.Read(optional, image);
        exports = image.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    }
    file.sections.resize(header.NumberOfSections);
    for (std::size_t i = 0; i < file.sections.size(); ++i) {
        file.Read(optional + header.SizeOfOptionalHeader + i * sizeof(IMAGE_SECTION_HEADER),
                  file.sections[i]);
    }
    IMAGE_EXPORT_DIRECTORY directory{};
    if (exports.VirtualAddress == 0 || !file.Read(file.Offset(exports.VirtualAddress), directory)) {
        return {};
    }
    std::vector<std::string> names;
    for (DWORD i = 0; i < directory.NumberOfNames; ++i) {
        DWORD nameRva = 0;
        file.Read(file.Offset(directory.AddressOfNames) + i * sizeof(DWORD), nameRva);
        names.push_back(file.TextAt(nameRva));
    }
    // Exports by ordinal only would have no name; there must be none.
    EXPECT_EQ(directory.NumberOfFunctions, directory.NumberOfNames) << path;
    return names;
}

}  // namespace HuxTest
