#pragma once
// The page-setup margins of a document type: four values in hundredths of a millimetre
// (10 mm each by default), kept as binary values under
// "\General\<profile>\PageSetup" ("MarginLeft", "MarginRight", "MarginTop",
// "MarginBottom"), read by the page layout and written by the page-setup dialog.

#include <string>

#include "platform/types.h"

namespace quill {

constexpr long kDefaultPageMargin = 1000;

// "\General\<profile>\PageSetup".
std::string PageSetupSection(const std::string& profile);
// The margins as (left, top, right, bottom); a value that is not stored is the default.
CRect ReadPageMargins(const std::string& profile);
void WritePageMargins(const std::string& profile, const CRect& margins);

}  // namespace quill
