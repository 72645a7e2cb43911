// exported_symbols_test.cpp - the plugin library exports exactly its entry function.
#include <gtest/gtest.h>

#include "exported_symbols.h"

namespace {

TEST(PluginLibrary, ExportsExactlyTheEntryFunction) {
    EXPECT_EQ(HuxTest::ExportedSymbols(HUX_PLUGIN_PATH), std::vector<std::string>{"load_hux_game_queues"});
}

}  // namespace
