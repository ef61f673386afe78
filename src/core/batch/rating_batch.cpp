// --rating: the rating table of one calculation file, or of an irregular-section
// worksheet, as CSV on standard output.
#include "core/batch/batch.h"
#include "core/files/rating_csv.h"
#include "core/hydraulics/checked_math.h"
#include "core/hydraulics/units.h"
#include "core/shell/number_text.h"
#include "core/shell/startup.h"
#include "core/window/rating_sheet.h"
#include "core/worksheets/document.h"
#include "core/worksheets/kinds.h"
#include "core/worksheets/section_rating_view_model.h"

namespace rivulet {
namespace {

// The worksheet's rating as its window's Rating Table builds it: the same rows, in the
// worksheet's result units, under the same heading.
int RunSectionRating(const std::string& file, const RatingBatchOptions& options, std::ostream& out,
                     std::ostream& err) {
  const WorksheetRead read = ReadWorksheetFile(file);
  const WorksheetKind* kind =
      read.document ? FindKind(BuiltInKinds(), read.document->kind) : nullptr;
  if (!read.document) {
    err << kProductName << ": " << read.message << "\n"
        << file << ": cannot be opened as a worksheet file\n";
    return kBatchBadFile;
  }
  if (!kind || kind->name != "section") {
    err << file << ": only calculation files and irregular-section worksheets have a rating\n";
    return kBatchBadFile;
  }
  WorksheetModel sheet(*kind);
  if (const std::string refusal = sheet.Load(*read.document, file); !refusal.empty()) {
    err << kProductName << ": " << refusal << "\n"
        << file << ": cannot be opened as a worksheet file\n";
    return kBatchBadFile;
  }
  SectionRatingRequest request;
  request.rows = options.rows;
  if (options.top) request.to = FormatNumber(*options.top);
  SectionRatingViewModel rating;
  rating.Refresh(sheet, request);
  if (rating.Table().rows.empty() || !rating.Table().problem.empty()) {
    err << file << ": " << rating.Note() << "\n";
    return kBatchSomeUnsolved;
  }
  out << JoinRatingLines(RatingCommentLines(rating.Description()))
      << JoinRatingLines(RatingLines(rating.Table().rows, false, rating.Units(), ','));
  return kBatchAllSolved;
}

}  // namespace

int RunRatingBatch(const std::string& file, const RatingBatchOptions& options,
                   const StartupValues& startup, std::ostream& out, std::ostream& err) {
  if (IsWorksheetFile(file)) return RunSectionRating(file, options, out, err);
  int status = kBatchAllSolved;
  const int opened =
      ForEachOpenedSheet({file}, startup, err, [&](frmRivulet& form, const std::string&) {
        const RatingSource source = RatingSourceOf(form);
        if (!source.problem.empty()) {
          err << file << ": " << source.problem << "\n";
          status = kBatchSomeUnsolved;
          return;
        }
        const RatingUnits units = RatingUnitsOf(form);
        RatingRequest request{RatingStep::Depth, 0, source.defaultTopDepth, options.rows};
        try {
          if (options.top) request.to = ConvertLength(*options.top, units.length, kToBase);
        } catch (const ArithmeticFault&) {
          request.to = 0;  // the range check names it
        }
        const RatingTable table = BuildRatingTable(source.channel, request);
        if (!table.problem.empty()) {
          err << file << ": " << table.problem << "\n";
          status = kBatchSomeUnsolved;
          return;
        }
        if (table.cutAt) err << file << ": the depths stop at the pipe's crown\n";
        const bool pipe = source.channel.section.shape == SectionKind::Pipe;
        out << JoinRatingLines(RatingCommentLines(source.description))
            << JoinRatingLines(RatingLines(table.rows, pipe, units, ','));
      });
  return opened == kBatchBadFile ? kBatchBadFile : status;
}

}  // namespace rivulet
