#pragma once

namespace quorel {

// What a call does with a file of its own: read it into the program, or write the program's
// state into it.
enum class FileAction { Load, Save };

} // namespace quorel
