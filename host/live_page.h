// live_page.h - the page hux-host serve answers a browser at "/": live_page.html, compiled in.
#pragma once

#include <string_view>

namespace HuxHost {

// LivePageText is the text of live_page.html as it was when hux-host was built: one HTML document with
// its style and script inline, which loads nothing from elsewhere.
std::string_view LivePageText();

}  // namespace HuxHost
