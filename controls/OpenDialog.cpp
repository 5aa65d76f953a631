#include "controls/OpenDialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QScreen>

#include "controls/QtText.h"
#include "platform/Failure.h"
#include "platform/FileSystem.h"
#include "platform/MessageText.h"

OpenDialog::OpenDialog(std::string filter, std::string initialFolder)
    : filter_(std::move(filter)), initialFolder_(std::move(initialFolder)) {}

std::optional<std::string> OpenDialog::Execute(QWidget* parent) const {
  QFileDialog dialog(parent);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::AnyFile);  // a name that does not exist is taken as typed
  dialog.setWindowModality(Qt::ApplicationModal);
  dialog.setSizeGripEnabled(true);
  // Qt reads the patterns in ASCII parentheses: the description shows, the pattern filters.
  const auto bar = filter_.find('|');
  const std::string description = filter_.substr(0, bar);
  const std::string pattern = bar == std::string::npos ? std::string() : filter_.substr(bar + 1);
  dialog.setNameFilter(ToQt(description) + QStringLiteral(" (") + ToQt(pattern) +
                       QStringLiteral(")"));
  dialog.setDirectory(ToQt(initialFolder_));

  const QWidget* active = QApplication::activeWindow();
  const QScreen* screen = active ? active->screen() : QGuiApplication::primaryScreen();
  const QRect free = screen->availableGeometry();
  const QSize size = dialog.sizeHint().expandedTo(QSize(560, 380));
  dialog.resize(size);
  dialog.move(free.x() + (free.width() - size.width()) / 2,
              free.y() + (free.height() - size.height()) / 3);

  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  const QString chosen = dialog.selectedFiles().first();
  const auto path = FromQt(chosen);
  if (!path)
    throw Failure(FormatText(Cp932("ファイル %s は開けません"),
                             {FromQt(QFileInfo(chosen).fileName()).value_or("?")}));
  files::SetCurrentDirectory(path->substr(0, path->rfind('/') + 1));
  return path;
}
