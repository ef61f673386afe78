// The case table on paper: landscape pages of the rows in the order shown, the heading
// and the column titles repeated on each page. Prints on a QPrinter or into a PDF file.
#pragma once

#include <QPagedPaintDevice>
#include <QString>
#include <vector>

#include "core/cases/case_design.h"
#include "core/cases/case_document.h"

namespace rivulet {

/// The columns printed: a value with its unit in one cell, as an engineer's table has it.
struct CasePrintColumn {
  QString title;
  QString value;  ///< the document's column
  QString unit;   ///< its unit column, or empty
  double weight;  ///< share of the page's width
};
const std::vector<CasePrintColumn>& CasePrintColumns();

/// Paints the rows (document positions, in order) on device, a new page wherever they run
/// on; with designs (one per row), two more columns give each row's design checks and next
/// standard size. False when the device cannot be painted on.
bool PaintCaseTable(QPagedPaintDevice& device, const CaseDocument& document,
                    const std::vector<size_t>& rows, const QString& title,
                    const std::vector<CaseDesignCells>* designs = nullptr);

/// Writes the table into a PDF file through a temporary file beside it, so that a failed
/// write leaves an older file as it was.
bool WriteCaseTablePdf(const QString& path, const CaseDocument& document,
                       const std::vector<size_t>& rows, const QString& title,
                       const std::vector<CaseDesignCells>* designs = nullptr);

}  // namespace rivulet
