#include "gui/reference/reference_windows.h"

#include <QCoreApplication>

#include "core/window/frm_rivulet.h"
#include "gui/reference/drawing_view.h"
#include "gui/reference/grass_view.h"
#include "gui/reference/n_values_view.h"
#include "gui/shell/window_placement.h"

namespace rivulet {
namespace {

// Centred before showing so it appears in place, and again once shown, when the frame
// around it is known.
void ShowCentred(QDialog& window) {
  CentreOnScreen(window);
  window.show();
  CentreOnScreen(window);
}

}  // namespace

ReferenceWindows::ReferenceWindows(QWidget* mainWindow, TextBox& txtManning)
    : QObject(mainWindow ? static_cast<QObject*>(mainWindow) : QCoreApplication::instance()),
      mainWindow_(mainWindow),
      txtManning_(txtManning) {}

QDialog* ReferenceWindows::NValues() const { return nValues_; }

void ReferenceWindows::OpenNValues() {
  if (nValues_) {
    nValues_->raise();
    nValues_->activateWindow();
    return;
  }
  nValues_ = new frmNValuesView(
      txtManning_,
      [this] {
        if (afterChange) afterChange();
      },
      [this] { OpenGrassTable(); }, mainWindow_);
  ShowCentred(*nValues_);
}

void ReferenceWindows::OpenGrassTable() {
  if (grass_) {
    grass_->raise();
    grass_->activateWindow();
    return;
  }
  grass_ = new frmManningGrassView(mainWindow_);
  ShowCentred(*grass_);
}

void ReferenceWindows::OpenDrawing(SectionKind kind) {
  QPointer<QDialog>& slot = drawings_[static_cast<int>(kind)];
  if (slot) {
    slot->hide();
    delete slot.data();
  }
  slot = new SectionDrawingView(kind, mainWindow_);
  ShowCentred(*slot);
}

void ReferenceWindows::ViewDrawing(int sectionListIndex) {
  if (const auto kind = DrawingForSection(sectionListIndex)) OpenDrawing(*kind);
}

ReferenceWindows* AttachReferenceWindows(frmRivulet& form, QWidget* mainWindow,
                                         std::function<void()> afterChange) {
  auto* windows = new ReferenceWindows(mainWindow, form.txtManning);
  windows->afterChange = std::move(afterChange);
  form.cmdManning.onClick = [windows] { windows->OpenNValues(); };
  form.cmdSection.onClick = [windows, &form] { windows->ViewDrawing(form.cboSection.ListIndex()); };
  const std::pair<MenuItem*, SectionKind> items[] = {
      {&form.mnuCircle, SectionKind::Pipe},         {&form.mnuRectangle, SectionKind::Rectangle},
      {&form.mnuTrapezoid, SectionKind::Trapezoid}, {&form.mnuTriangle, SectionKind::Triangle},
      {&form.mnuGutter, SectionKind::Gutter},
  };
  for (const auto& [item, kind] : items)
    item->onClick = [windows, kind] { windows->OpenDrawing(kind); };
  return windows;
}

}  // namespace rivulet
