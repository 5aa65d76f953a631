#pragma once

#include <initializer_list>
#include <string_view>

// The shell's own message dialog: a question or a notice with its buttons, shown modally.
enum class DialogKind {
  Confirmation,  // caption "確認", the question-mark icon
  Plain,         // caption the application title, no icon
};

enum class DialogButton { Yes, No, OK };

enum class DialogResult { None = 0, OK = 1, Dismissed = 2, Yes = 6, No = 7 };

// Builds the dialog for the CP932 text, shows it modally, waits until it closes and gives the
// result: the pressed button's, or Dismissed when it was closed without one (its close
// button, Alt+F4, or the application told to end). The buttons always stand in the order
// Yes, No, OK, whatever order they are given in.
DialogResult ShowMessageDialog(std::string_view text, DialogKind kind,
                               std::initializer_list<DialogButton> buttons);

// ShowMessageDialog(text, Plain, {OK}), the result ignored.
void ShowInformation(std::string_view text);

// ShowMessageDialog(text, Confirmation, {Yes, No}); true only for Yes.
bool Confirm(std::string_view text);
