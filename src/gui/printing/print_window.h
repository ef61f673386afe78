// The calculation window's Print and Print Setup commands with the Qt print window: the
// window is made on first Print, hidden by Cancel and Print, discarded by its close
// control or Exit.
#pragma once

#include <QObject>
#include <QPointer>
#include <QPrinter>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/printing/frm_print.h"
#include "gui/printing/frm_print_view.h"
#include "gui/printing/qt_printer.h"
#include "gui/shell/shared_printer.h"

class QWidget;

namespace rivulet {

class frmRivulet;

class PrintWindow : public QObject {
  Q_OBJECT

 public:
  /// Prints on printer, the one Print Setup configures. Belongs to mainWindow.
  PrintWindow(frmRivulet& form, SharedPrinter& printer, QWidget* mainWindow);
  ~PrintWindow() override;

  /// File > Print: makes the window when there is none and shows it, not modal.
  void Open();
  /// The details block printed after the report while the Flow Details are shown.
  void SetDetailsBlock(std::function<std::vector<std::string>()> block) {
    commands_.SetDetailsBlock(std::move(block));
  }
  /// What is told of a PDF file the report went into.
  void SetPrintedToFile(std::function<void(const std::string&)> told) {
    commands_.SetPrintedToFile(std::move(told));
  }
  /// The drawings printed with the report, before its status.
  void SetDrawings(std::function<std::vector<ReportDrawing>()> drawings);
  /// File > Print Setup...
  void Setup() { commands_.mnuPrintSetup_Click(); }
  /// Discards the window and everything typed in it.
  void Destroy();

  /// The window on screen, or nullptr.
  frmPrintView* View() const { return view_; }
  frmPrint* Core() const { return commands_.Window(); }
  Printer& PrintPath() { return *printer_; }

 private:
  /// The Qt printer behind it is made on the first call: making a QPrinter loads the
  /// platform's print system, which a window that never prints need not carry.
  std::unique_ptr<Printer> printer_;
  PrintCommands commands_;
  QWidget* mainWindow_;
  QPointer<frmPrintView> view_;
};

/// Wires mnuPrint and mnuPrintSetup of the calculation window to a print window that
/// prints on printer and belongs to mainWindow, and returns it.
PrintWindow* AttachPrinting(frmRivulet& form, SharedPrinter& printer, QWidget* mainWindow);

}  // namespace rivulet
