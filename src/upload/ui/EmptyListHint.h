#pragma once
// A list that says what to do while it is empty: its accessible
// description, drawn greyed inside it and read by screen readers alike.
//
//   list->setAccessibleDescription("Choose the file with File ▸ Open");
//   EmptyListHint::install(list);

class QListWidget;

namespace lmk {

namespace EmptyListHint {
// Draws `list`'s accessible description (as it stands when drawn, so a
// translation shows too) while the list holds no item.
void install(QListWidget *list);
} // namespace EmptyListHint

} // namespace lmk
