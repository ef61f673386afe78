// The rating table on paper: a heading, the plot, then the table over as many pages as it
// takes, its header repeated on each. Prints on a QPrinter or into a PDF file.
#pragma once

#include <QPagedPaintDevice>
#include <QString>
#include <QStringList>

#include "gui/window/rating_plot.h"

namespace rivulet {

struct RatingReport {
  QString title;        ///< "Rating Table - storm-sewer-pipe.rvl"
  QString description;  ///< the channel in words
  QString note;         ///< what the table leaves out, if anything
  bool pipe = false;
  RatingPlotData plot;  ///< its rows are the table's
  /// Design-check marks of each row (empty: no such column) and what they mean.
  QStringList checks;
  QString legend;
};

/// Paints the report on device, starting a new page wherever the table runs on. False
/// when the device cannot be painted on (a file that cannot be written).
bool PaintRatingReport(QPagedPaintDevice& device, const RatingReport& report);

/// Writes the report into a PDF file through a temporary file beside it, so that a failed
/// write leaves an older file as it was.
bool WriteRatingPdf(const QString& path, const RatingReport& report);

}  // namespace rivulet
