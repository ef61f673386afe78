// The one QPrinter of a run, handed by whoever makes the windows to each window that prints.
#pragma once

#include <QPrinter>
#include <memory>

namespace rivulet {

/// Print Setup configures it and every Print uses it, so the user's choice of printer and
/// page holds for the results report and the rating table alike.
class SharedPrinter {
 public:
  /// The printer, made on first use: making a QPrinter loads the platform's print system,
  /// which a run that never prints need not carry.
  QPrinter& Get() {
    if (!printer_) printer_ = std::make_unique<QPrinter>();
    return *printer_;
  }

 private:
  std::unique_ptr<QPrinter> printer_;
};

}  // namespace rivulet
