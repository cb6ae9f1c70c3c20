// Helpers of the large-drawing tests: a model space of more block references than the DXF
// reader holds the groups of at once, and what to look for in it.
#pragma once

#include <dbid.h>

#include <string>
#include <utility>
#include <vector>

namespace host::testing {

// More block references than a reader's run of records (each with an attribute and a SEQEND).
constexpr int kRefs = 5000;

// A handle as the file writes it: upper-case hexadecimal.
std::string Hex(unsigned value);
// An ASCII text widened.
std::wstring W(const std::string& s);
// `letter` followed by the number. Built by appending: GCC 12's -Wrestrict misreads a literal
// added to a temporary string once the optimiser inlines it, and fails the release build.
std::string Named(char letter, int i);
// The handle of reference i (its attribute and SEQEND take the next two).
unsigned RefHandle(int i);
// Reference i at (i, 0) with attribute ETAT "T<i>" and RQ_LINK XData "E<i>".
std::vector<std::pair<int, std::string>> References(int count);
// The line (from 1) on which `needle` starts, after the first `after`.
int LineOf(const std::string& text, const std::string& needle, const std::string& after = "");
// The first string of the entity's RQ_LINK XData; "(none)" without, "(cannot open)".
std::wstring XDataText(AcDbObjectId id);

}  // namespace host::testing
