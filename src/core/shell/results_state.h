// Where a sheet's results stand, for every kind of sheet: what views and reports read
// instead of the status line's words.
#pragma once

namespace rivulet {

/// None yet, current, or out of date after an edit; Failed when the last Calculate found
/// no solution or refused the inputs.
enum class ResultsState { None, Current, Modified, Failed };

}  // namespace rivulet
