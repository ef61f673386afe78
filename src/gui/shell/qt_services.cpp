#include "gui/shell/qt_services.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QScreen>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>

#include "core/shell/dialog_folder.h"
#include "gui/shell/qt_text.h"

namespace rivulet {
namespace {

QMessageBox::Icon QtIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Exclamation:
      return QMessageBox::Warning;
    case MessageIcon::Stop:
      return QMessageBox::Critical;
    case MessageIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

QRect ScreenGeometry() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->geometry() : QRect();
}

}  // namespace

QString QtFileFilter(const FileDialogRequest& request) {
  QStringList filters;
  for (const auto& [description, pattern] : request.filters) {
    // Qt separates the patterns of one filter by blanks, not semicolons.
    const QString patterns = ToQt(pattern).split(';', Qt::SkipEmptyParts).join(' ').trimmed();
    const QString text = ToQt(description).trimmed();
    if (text.isEmpty() || text == patterns)
      filters << patterns;
    else if (text.endsWith('(' + patterns + ')'))
      filters << text;
    else
      filters << text + " (" + patterns + ')';
  }
  return filters.join(";;");
}

QtServices::QtServices() = default;
QtServices::~QtServices() {
  if (busy_) QApplication::restoreOverrideCursor();
}

void QtServices::BeforeModal() {
  if (beforeModal_) beforeModal_();
}

void QtServices::MessageBox(const std::string& text, const std::string& title, MessageIcon icon) {
  BeforeModal();
  QMessageBox box(QtIcon(icon), ToQt(title), ToQt(text), QMessageBox::Ok,
                  QApplication::activeWindow());
  box.setTextFormat(Qt::PlainText);
  // The user needs an ordinary pointer to press OK, even in the middle of a busy command.
  if (busy_) QApplication::setOverrideCursor(Qt::ArrowCursor);
  box.exec();
  if (busy_) QApplication::restoreOverrideCursor();
}

void GiveSaveButtonsKeys(QMessageBox& box) {
  // Answered from the keyboard as every other dialog of the program is.
  box.button(QMessageBox::Save)->setText("&Save");
  box.button(QMessageBox::Discard)->setText("&Discard");
  box.button(QMessageBox::Cancel)->setText("&Cancel");
}

SaveChoice QtServices::AskSaveChanges(const std::string& text, const std::string& title) {
  BeforeModal();
  QMessageBox box(QMessageBox::Question, ToQt(title), ToQt(text),
                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                  QApplication::activeWindow());
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(QMessageBox::Save);
  box.setEscapeButton(QMessageBox::Cancel);
  GiveSaveButtonsKeys(box);
  if (busy_) QApplication::setOverrideCursor(Qt::ArrowCursor);
  const int answer = box.exec();
  if (busy_) QApplication::restoreOverrideCursor();
  if (answer == QMessageBox::Save) return SaveChoice::Save;
  if (answer == QMessageBox::Discard) return SaveChoice::Discard;
  return SaveChoice::Cancel;
}

void QtServices::SetBusy(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

int QtServices::ScreenWidth() const { return ScreenGeometry().width(); }
int QtServices::ScreenHeight() const { return ScreenGeometry().height(); }

void QtServices::SendEndKey() {
  if (auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget())) edit->end(false);
}

std::optional<FileChoice> QtServices::FileDialog(const FileDialogRequest& request, bool save) {
  QFileDialog dialog(QApplication::activeWindow(), ToQt(request.title));
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  const QString filter = QtFileFilter(request);
  if (!filter.isEmpty()) dialog.setNameFilters(filter.split(";;"));
  QString suffix = ToQt(request.defaultExtension);
  while (suffix.startsWith('.')) suffix.remove(0, 1);
  if (!suffix.isEmpty()) dialog.setDefaultSuffix(suffix);
  // Never the folder the program was started from: that is rarely where the user's work is.
  dialog.setDirectory(ToQt(request.startFolder.empty() ? DocumentsFolder() : request.startFolder));
  if (!request.proposedName.empty()) dialog.selectFile(ToQt(request.proposedName));
  BeforeModal();
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  const QString path = dialog.selectedFiles().first();
  return FileChoice{path.toStdString(), QFileInfo(path).fileName().toStdString()};
}

std::optional<FileChoice> QtServices::OpenFileDialog(const FileDialogRequest& request) {
  return FileDialog(request, false);
}

std::optional<FileChoice> QtServices::SaveFileDialog(const FileDialogRequest& request) {
  return FileDialog(request, true);
}

std::optional<std::string> QtServices::ClipboardText() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  if (!data || !data->hasText()) return std::nullopt;
  return data->text().toStdString();
}

void QtServices::SetClipboardText(const std::string& text) {
  QGuiApplication::clipboard()->setText(ToQt(text));
}

bool QtServices::ShellOpen(const std::string& target) {
  const QString text = ToQt(target);
  // Addresses carry a scheme (https:, mailto:); anything else is a file on this machine.
  QUrl url(text);
  if (text.startsWith('/') || url.scheme().size() < 2 || QFileInfo::exists(text))
    url = QUrl::fromLocalFile(text);
  return QDesktopServices::openUrl(url);
}

bool QtServices::ShowHelpPage(const std::string& page) {
  const QString text = ToQt(page);
  QUrl url = text.startsWith("file:") ? QUrl(text) : QUrl::fromLocalFile(text.section('#', 0, 0));
  if (!text.startsWith("file:") && text.contains('#')) url.setFragment(text.section('#', 1));
  if (!QFileInfo(url.toLocalFile()).isFile()) return false;
  // One viewer for the whole program: F1 again brings it forward at the section asked for.
  static QPointer<QTextBrowser> viewer;
  if (!viewer) {
    viewer = new QTextBrowser;
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    viewer->setObjectName("helpViewer");
    viewer->setWindowTitle(QApplication::applicationName() + " Help");
    // Links out of the page (the web site, mail) still go to the desktop's programs.
    viewer->setOpenExternalLinks(true);
    viewer->resize(860, 640);
    new QShortcut(QKeySequence(Qt::Key_Escape), viewer, [] { viewer->close(); });
  }
  viewer->setSource(url);
  viewer->show();
  viewer->raise();
  viewer->activateWindow();
  return true;
}

void QtServices::PrinterSetup() {
  BeforeModal();
  // With a printer installed the print dialog lets the user choose it and its options;
  // without one only the page set-up of the PDF output is left to choose.
  if (QPrinterInfo::availablePrinters().isEmpty()) {
    QPageSetupDialog dialog(&printer_.Get(), QApplication::activeWindow());
    dialog.exec();
    return;
  }
  QPrintDialog dialog(&printer_.Get(), QApplication::activeWindow());
  dialog.setWindowTitle("Print Setup");
  dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
  dialog.exec();
}

}  // namespace rivulet
