// How deep the host follows block references inside block references.
//
// Every walk through nested blocks (drawing, hit testing, extents, the DXF reader's check) stops
// at the same depth, so that a block that holds a reference to itself, directly or through other
// blocks, ends every walk instead of recursing until the stack runs out. Drawings of the route
// tools nest two or three levels; a drawing from elsewhere rarely more than ten.
#pragma once

namespace platform::acad {

// The most block references a walk enters, one inside the other, below model space.
inline constexpr int kMaxBlockNesting = 32;

}  // namespace platform::acad
