// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keeps a widget and its control model in step both ways: the widget shows
// the model, and what the user does with the widget goes into the model and
// on to the window model's handler.

#include <functional>
#include <initializer_list>
#include <string>

#include "platform/Controls.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QObject;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QString;
class QWidget;

namespace vktviews {

using Handler = std::function<void()>;

// The models' UTF-8 text as Qt's.
QString Qs(const std::string& s);

// Runs f now and after every change of c, for as long as owner lives.
void OnChange(QObject* owner, vkt::Control& c, Handler f);

// Enabled, visible and tool tip of any control.
void BindState(QWidget* w, vkt::Control& c);
void Bind(QLabel* w, vkt::Label& c);
void Bind(QGroupBox* w, vkt::Frame& c);
void Bind(QPushButton* w, vkt::Button& c, Handler onClick);
void Bind(QLineEdit* w, vkt::TextBox& c, Handler onEdit = {});
// onPick runs when the user picks an entry of the list.
void Bind(QComboBox* w, vkt::ComboBox& c, Handler onPick = {});
void Bind(QCheckBox* w, vkt::CheckBox& c, Handler onClick = {});
void Bind(QRadioButton* w, vkt::OptionButton& c, std::initializer_list<vkt::OptionButton*> group, Handler onClick = {});
// A command on the menu bar itself opens with Alt and its first letter.
enum class MenuPlace { InMenu, OnMenuBar };
void Bind(QAction* a, vkt::MenuItem& c, Handler onTrigger, MenuPlace place = MenuPlace::InMenu);
void Bind(QProgressBar* w, vkt::ProgressBar& c);

// A new widget in parent that shows its model; named where the tab order
// and tests look it up.
QLabel* NewLabel(QWidget* parent, vkt::Label& model);
QComboBox* NewCombo(QWidget* parent, vkt::ComboBox& model, const char* name = nullptr, bool editable = false);
QCheckBox* NewCheck(QWidget* parent, vkt::CheckBox& model, const char* name = nullptr);

// Twips, the window models' unit, to pixels.
constexpr int Px(int twips) { return twips / 15; }
constexpr int Twips(int px) { return px * 15; }

} // namespace vktviews
