// The reference windows of the calculation window: the n-value tables and the section
// drawings, each created on first use and open at most once.
#pragma once

#include <QDialog>
#include <QObject>
#include <QPointer>
#include <array>
#include <functional>

#include "core/reference/section_drawings.h"
#include "core/shell/controls.h"

namespace rivulet {

class frmRivulet;
class frmNValuesView;

class ReferenceWindows : public QObject {
  Q_OBJECT
 public:
  /// The windows belong to mainWindow; OK of the n-value table writes txtManning.
  ReferenceWindows(QWidget* mainWindow, TextBox& txtManning);

  /// Runs after the n-value table has written txtManning, so the main view can re-sync.
  std::function<void()> afterChange;

  /// Look Up Table: shows the n-value table, leaving an open one as it is.
  void OpenNValues();
  /// More...: shows the grass table, leaving an open one as it is.
  void OpenGrassTable();
  /// A View menu item: replaces the section's drawing window by a new, centred one.
  void OpenDrawing(SectionKind kind);
  /// View Drawing: the drawing of the section at this section-list position, if any.
  void ViewDrawing(int sectionListIndex);

  /// The open windows, or nullptr.
  QDialog* NValues() const;
  QDialog* GrassTable() const { return grass_; }
  QDialog* Drawing(SectionKind kind) const { return drawings_[static_cast<int>(kind)]; }

 private:
  QWidget* mainWindow_;
  TextBox& txtManning_;
  QPointer<frmNValuesView> nValues_;
  QPointer<QDialog> grass_;
  std::array<QPointer<QDialog>, kDrawingCount> drawings_;
};

/// Wires Look Up Table, View Drawing and the five View menu items of the calculation
/// window to the reference windows. afterChange runs after the n-value table wrote n.
/// The returned object belongs to mainWindow.
ReferenceWindows* AttachReferenceWindows(frmRivulet& form, QWidget* mainWindow,
                                         std::function<void()> afterChange);

}  // namespace rivulet
