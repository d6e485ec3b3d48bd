// Limits shared by the dictionary reader and the generation engine.
#pragma once

namespace gs {

// How deep node trees and value expressions may nest, and how deep the engine may recurse
// (blocks, evaluation and link calls together). A dictionary nested deeper is refused when
// read; the engine reports its recursion failure beyond it.
constexpr int MaxNestingDepth = 1000;

} // namespace gs
