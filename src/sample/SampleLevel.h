#pragma once
// The level selector of the sample page: a number from 1 to 16 that exists
// only as the text of its field. The limits are compared as texts.
//
//   levelDown("16") == "15"   levelDown("1") == "1"
//   levelUp("15")   == "16"   levelUp("16")  == "16"

#include <QString>

namespace lmk {

inline constexpr const char *kLevelStart = "16";

// One lower, unless the text is "1". A text that is no number stays as it is.
QString levelDown(const QString &level);
// One higher, unless the text is "16". A text that is no number stays as it is.
QString levelUp(const QString &level);

} // namespace lmk
