// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a screen reader says for each control: the name a sighted technician
// reads next to it, not the value it holds.

#include <QString>

class QLabel;
class QWidget;

namespace vktviews {

// The label names the control: it becomes the label's buddy (its & key moves
// the focus there) and lends it its text, without & or the closing colon.
void NameByLabel(QLabel* label, QWidget* control);
// A name of its own for a control whose label is a column heading or a frame;
// an editable list's text part is named with it.
void NameControl(QWidget* control, const QString& name);
// The text of a caption as a name: no & marks, no colon at the end.
QString SpokenName(const QString& caption);
// A new message in a status line, said at once by a screen reader, which
// would otherwise say it only when the technician went looking for it.
void Announce(QLabel* statusLine);
// Lists are named by their names rather than by the entry they show, a page
// of text is read as a document with its links, a status line is a
// notification, and a plain widget standing as a window of its own says it
// is a window. Once per program; every list the views make sees to it.
void InstallAccessibleNames();

} // namespace vktviews
