#include "controls/Label.h"

#include "controls/QtText.h"

Label::Label(QWidget* parent, std::string_view caption, const QFont& font, Qt::Alignment alignment)
    : QLabel(ToQt(caption), parent) {
  setFont(font);
  setAlignment(alignment);
  setTextFormat(Qt::PlainText);
  setContentsMargins(0, 0, 0, 0);
}

void Label::SetCaption(std::string_view cp932) {
  setText(ToQt(cp932));
}

void Label::SetBackground(const QColor& colour) {
  QPalette colours = palette();
  colours.setColor(QPalette::Window, colour);
  setPalette(colours);
  setAutoFillBackground(true);
}

void Label::SetTextColour(const QColor& colour) {
  QPalette colours = palette();
  colours.setColor(QPalette::WindowText, colour);
  setPalette(colours);
}
