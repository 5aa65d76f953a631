#include "app/MessageDialog.h"

#include <QApplication>
#include <QBoxLayout>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include <algorithm>
#include <vector>

#include "app/ApplicationTitle.h"
#include "app/ModalBox.h"
#include "controls/JapaneseDesktop.h"
#include "controls/QtText.h"

namespace {

struct ButtonEntry {
  DialogButton button;
  const char* caption;  // "&" marks the access key
  const char* name;
  DialogResult result;
};

// In the order the buttons stand in a box.
constexpr ButtonEntry kButtons[] = {
    {DialogButton::Yes, "はい(&Y)", "Yes", DialogResult::Yes},
    {DialogButton::No, "いいえ(&N)", "No", DialogResult::No},
    {DialogButton::OK, "OK", "OK", DialogResult::OK},
};

constexpr int kMargin = 12;
constexpr int kSpacing = 12;
constexpr int kIconSize = 32;
constexpr int kMinimumButtonWidth = 75;

// The letter after the "&" of a caption, or a null character when it has none.
QChar AccessKey(const QString& caption) {
  const qsizetype mark = caption.indexOf(u'&');
  return mark >= 0 && mark + 1 < caption.size() ? caption[mark + 1] : QChar();
}

class MessageDialog : public QDialog {
 public:
  MessageDialog(std::string_view text, DialogKind kind, std::initializer_list<DialogButton> buttons)
      : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                             Qt::WindowCloseButtonHint) {
    setWindowTitle(kind == DialogKind::Confirmation ? QString::fromUtf8("確認")
                                                    : ToQt(ApplicationTitle()));
    setFont(WindowsFont(FontFace::ProportionalGothic, 12));
    setWindowModality(Qt::ApplicationModal);

    auto* rows = new QVBoxLayout(this);
    // A fixed size: the box cannot be resized.
    rows->setSizeConstraint(QLayout::SetFixedSize);
    rows->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    rows->setSpacing(kSpacing);
    rows->addLayout(MessageRow(text, kind));
    rows->addLayout(ButtonRow(buttons));
    rows->activate();
    CentreOnScreen(*this);
    // The application told to end closes the box like its close button.
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, &QDialog::reject);
  }

  // Dismissed unless a button closed the box.
  DialogResult Result() const {
    return result_ == DialogResult::None ? DialogResult::Dismissed : result_;
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    // The focused button takes Enter, Space, Tab and the arrows itself; what it leaves comes here.
    if (event->key() == Qt::Key_Escape) {
      if (cancel_ != nullptr) cancel_->click();
      return;
    }
    // Without a window manager nobody else turns Alt+F4 into a close.
    if (event->key() == Qt::Key_F4 && event->modifiers() == Qt::AltModifier) {
      close();
      return;
    }
    // Access keys answer to the typed letter alone; a Control chord types no letter.
    if (!(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))) {
      for (const Shown& shown : shown_) {
        const QChar key = AccessKey(shown.widget->text());
        if (!key.isNull() && event->text().compare(key, Qt::CaseInsensitive) == 0) {
          shown.widget->click();
          return;
        }
      }
    }
    QDialog::keyPressEvent(event);
  }

 private:
  // The kind's icon at the top left and the text beside it.
  QBoxLayout* MessageRow(std::string_view text, DialogKind kind) {
    auto* row = new QHBoxLayout;
    row->setSpacing(kSpacing);
    if (kind == DialogKind::Confirmation) {
      auto* icon = new QLabel(this);
      icon->setObjectName(QStringLiteral("Icon"));
      icon->setPixmap(style()
                          ->standardIcon(QStyle::SP_MessageBoxQuestion, nullptr, this)
                          .pixmap(kIconSize, kIconSize));
      icon->setFixedSize(kIconSize, kIconSize);
      row->addWidget(icon, 0, Qt::AlignTop);
    }
    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("Text"));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setText(BoxText(text));
    // Measured with the flags the label draws with: wrapped within half the screen width, a
    // single word wider than that widens the text instead of being broken.
    const int limit = QGuiApplication::primaryScreen()->geometry().width() / 2;
    label->setFixedSize(
        label->fontMetrics()
            .boundingRect(QRect(0, 0, limit, 0),
                          Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextExpandTabs,
                          label->text())
            .size());
    row->addWidget(label, 0, Qt::AlignVCenter);
    row->addStretch();
    return row;
  }

  // The buttons in the order of kButtons, all as wide as the widest, centred.
  QBoxLayout* ButtonRow(std::initializer_list<DialogButton> buttons) {
    auto* row = new QHBoxLayout;
    row->setSpacing(kSpacing / 2);
    row->addStretch();
    int width = kMinimumButtonWidth;
    for (const ButtonEntry& entry : kButtons) {
      if (std::find(buttons.begin(), buttons.end(), entry.button) == buttons.end()) continue;
      auto* button = new QPushButton(QString::fromUtf8(entry.caption), this);
      button->setObjectName(QString::fromLatin1(entry.name));
      button->setAutoDefault(true);
      connect(button, &QPushButton::clicked, this, [this, result = entry.result] {
        result_ = result;
        accept();
      });
      width = std::max(width, button->sizeHint().width());
      shown_.push_back({entry.button, button});
      row->addWidget(button);
    }
    row->addStretch();
    for (const Shown& shown : shown_) {
      shown.widget->setFixedWidth(width);
    }
    if (QPushButton* fallback = Find(DialogButton::OK, DialogButton::Yes)) {
      fallback->setDefault(true);
    }
    cancel_ = Find(DialogButton::No, DialogButton::OK);
    // The focused button carries the default frame, the first one to begin with.
    if (!shown_.empty()) shown_.front().widget->setFocus();
    return row;
  }

  // The first of the two buttons that the box shows, or null.
  QPushButton* Find(DialogButton preferred, DialogButton otherwise) const {
    for (const DialogButton wanted : {preferred, otherwise}) {
      for (const Shown& shown : shown_) {
        if (shown.button == wanted) return shown.widget;
      }
    }
    return nullptr;
  }

  struct Shown {
    DialogButton button;
    QPushButton* widget;  // owned by the dialog
  };
  std::vector<Shown> shown_;  // in the row's order
  QPushButton* cancel_ = nullptr;
  DialogResult result_ = DialogResult::None;
};

}  // namespace

DialogResult ShowMessageDialog(std::string_view text, DialogKind kind,
                               std::initializer_list<DialogButton> buttons) {
  const ActivationKeeper keeper;
  MessageDialog dialog(text, kind, buttons);
  dialog.exec();
  return dialog.Result();
}

void ShowInformation(std::string_view text) {
  ShowMessageDialog(text, DialogKind::Plain, {DialogButton::OK});
}

bool Confirm(std::string_view text) {
  return ShowMessageDialog(text, DialogKind::Confirmation, {DialogButton::Yes, DialogButton::No}) ==
         DialogResult::Yes;
}
