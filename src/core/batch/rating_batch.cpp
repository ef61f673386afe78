// --rating: the rating table of one calculation file as CSV on standard output.
#include "core/batch/batch.h"
#include "core/files/rating_csv.h"
#include "core/hydraulics/checked_math.h"
#include "core/hydraulics/units.h"
#include "core/window/rating_sheet.h"

namespace rivulet {

int RunRatingBatch(const std::string& file, const RatingBatchOptions& options,
                   const StartupValues& startup, std::ostream& out, std::ostream& err) {
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
