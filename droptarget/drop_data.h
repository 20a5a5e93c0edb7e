// Reading the data of a drop: the blocks of global memory that a data object hands out.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace droptarget {

// The block's bytes up to its first NUL, or all of them when it holds none; none when the
// block cannot be locked.
std::optional<std::string> ReadTextBlock(HGLOBAL block);

// UTF-8 to the ANSI code page, every no-break space turned into a plain space. Malformed UTF-8
// becomes U+FFFD first, and then whatever the code page's default character is.
std::string ConvertHtmlText(std::string_view utf8);

// The names of a DROPFILES block in the order the source listed them, as ANSI paths; none when
// the block is malformed (a header, name or list end outside the block's size).
std::optional<std::vector<std::string>> ReadDroppedFileNames(HGLOBAL drop);

// One name alone; two or more, each followed by CR LF; none, the empty text.
std::string JoinFileNames(const std::vector<std::string>& names);

} // namespace droptarget
