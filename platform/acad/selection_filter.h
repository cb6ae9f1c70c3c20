// Selection filters: the DXF-group lists of acedSSGet and AutoCAD's wildcard patterns.
#pragma once

#include <string_view>

#include <adsdef.h>

class AcDbEntity;

namespace platform::acad {

// AutoCAD's wildcard match (wcmatch), ignoring case: `pattern` is a comma list of patterns, any of
// which may match; * any run, ? one character, # a digit, @ a letter, . a character that is
// neither, [..] a set ([~..] its complement), ~ at the start negates, ` escapes the next one.
bool WildcardMatch(std::wstring_view text, std::wstring_view pattern);

// Whether an open entity passes every group of `filter` (null passes all): 0 its DXF type
// name, 8 its layer, 2 the block name of a block reference, 62 its colour index, -3 followed by
// 1001 groups (for each of them it has XData of an application that the group's pattern, e.g.
// "RQ_LINK,RQ_ATTR", matches). Groups of other codes are ignored.
bool EntityPassesFilter(const AcDbEntity* entity, const resbuf* filter);

}  // namespace platform::acad
