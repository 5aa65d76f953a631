#include "controls/ByteLimitedEdit.h"

#include <QValidator>

#include "controls/ByteLimit.h"
#include "controls/QtText.h"

// Compares each change with the text before it: typing, an input-method commit, a paste, a
// drop or an undo that would pass the limit keeps only the part of the inserted text that
// fits; a character CP932 cannot write is refused.
class ByteLimitedEdit::Limiter : public QValidator {
 public:
  explicit Limiter(ByteLimitedEdit& edit) : QValidator(&edit), edit_(edit) {}

  State validate(QString& input, int& pos) const override {
    // The edit's own text is already the changed one here; the text before is kept aside.
    const QString& before = edit_.accepted_;
    if (!byte_limit::BytesOf(input)) return Invalid;
    if (edit_.maxBytes_ == 0) return Acceptable;
    const auto bytes = *byte_limit::BytesOf(input);
    const auto limit = static_cast<std::size_t>(edit_.maxBytes_);
    if (bytes <= limit || bytes <= *byte_limit::BytesOf(before)) return Acceptable;
    // What stands before and after the change is kept; the inserted text is cut to fit.
    qsizetype head = 0;
    while (head < before.size() && head < input.size() && before[head] == input[head])
      ++head;
    qsizetype tail = 0;
    while (tail < before.size() - head && tail < input.size() - head &&
           before[before.size() - 1 - tail] == input[input.size() - 1 - tail]) {
      ++tail;
    }
    const QString kept = input.left(head) + input.right(tail);
    const auto keptBytes = *byte_limit::BytesOf(kept);
    const QString inserted = input.mid(head, input.size() - head - tail);
    const QString fitting =
        byte_limit::FittingPart(inserted, keptBytes < limit ? limit - keptBytes : 0);
    if (fitting.isEmpty()) return Invalid;
    input = input.left(head) + fitting + input.right(tail);
    pos = static_cast<int>(head + fitting.size());
    return Acceptable;
  }

 private:
  ByteLimitedEdit& edit_;
};

ByteLimitedEdit::ByteLimitedEdit(QWidget* parent, const QFont& font, int maxBytes,
                                 InputMethodMode mode)
    : QLineEdit(parent), maxBytes_(maxBytes) {
  setFont(font);
  setValidator(new Limiter(*this));
  connect(this, &QLineEdit::textChanged, this, [this](const QString& text) { accepted_ = text; });
  ApplyInputMethodMode(*this, mode);
}

std::string ByteLimitedEdit::Text() const {
  if (text() == setText_) return setBytes_;
  return FromQt(text()).value_or(std::string());
}

void ByteLimitedEdit::SetText(std::string_view cp932) {
  // The validator judges only what the user does; the program's own text goes in whole.
  setBytes_ = std::string(cp932);
  setText_ = ToQt(cp932);
  const QValidator* limiter = validator();
  setValidator(nullptr);
  setText(setText_);
  setValidator(limiter);
}
