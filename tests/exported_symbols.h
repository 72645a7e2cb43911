// exported_symbols.h - the names a shared library exports, read from its file.
#pragma once

#include <string>
#include <vector>

namespace HuxTest {

// ExportedSymbols lists the names that the library file at path exports to its loader: the global and
// weak symbols its ELF dynamic symbol table defines, or the names of a Windows DLL's export directory.
// A file that cannot be read or is not of the expected format gives no names and a test failure.
std::vector<std::string> ExportedSymbols(const std::string& path);

}  // namespace HuxTest
