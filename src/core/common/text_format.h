#pragma once

#include <string>
#include <string_view>

namespace pictor {

/// Formats a status text with one "%d" and optional "%%" (the progress texts'
/// pattern, e.g. "写数据...%d %%"): "%d" becomes the decimal value, "%%" a single "%".
std::string FormatPercentText(std::string_view pattern, int value);

}  // namespace pictor
