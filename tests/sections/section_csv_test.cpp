// Station-elevation text as users bring it: CSV files with headers and units, cells pasted
// from a spreadsheet, and the mistakes such text carries.
#include "core/sections/section_csv.h"

#include <gtest/gtest.h>
#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

// Every allocation of this test program counted, so that a test can see the most memory
// a call held at once.
namespace {
std::atomic<size_t> liveBytes{0}, peakBytes{0};
}  // namespace

void* operator new(size_t size) {
  void* p = std::malloc(size ? size : 1);
  if (!p) throw std::bad_alloc();
  const size_t live = liveBytes += malloc_usable_size(p);
  for (size_t peak = peakBytes; live > peak && !peakBytes.compare_exchange_weak(peak, live);) {
  }
  return p;
}
void operator delete(void* p) noexcept {
  if (!p) return;
  liveBytes -= malloc_usable_size(p);
  std::free(p);
}
void operator delete(void* p, size_t) noexcept { operator delete(p); }
// The standard library's temporary buffers allocate without throwing; they must come from
// and go back to the same counted pair, or AddressSanitizer sees a mismatch.
void* operator new(size_t size, const std::nothrow_t&) noexcept {
  try {
    return operator new(size);
  } catch (...) {
    return nullptr;
  }
}
void operator delete(void* p, const std::nothrow_t&) noexcept { operator delete(p); }

namespace rivulet {
namespace {

TEST(StationText, ReadsTheShapesUsersBring) {
  const struct Row {
    const char* name;
    std::string text;
    std::vector<double> station, elevation;
    const char* stationUnit;
    const char* elevationUnit;
    const char* layout = "comma-separated, decimal point";
  } rows[] = {
      {"header with units",
       "Station (ft),Elevation (m)\n0,5\n2.5,1\n6,4.5\n",
       {0, 2.5, 6},
       {5, 1, 4.5},
       "ft",
       "m"},
      {"no header, CRLF, blank line",
       "0,5\r\n\r\n2.5,1\r\n6,4.5",
       {0, 2.5, 6},
       {5, 1, 4.5},
       "",
       ""},
      {"pasted cells",
       "Sta\tElev [ft]\n 0\t 5 \n10\t-1.25\n20\t+3\n",
       {0, 10, 20},
       {5, -1.25, 3},
       "",
       "ft",
       "tab-separated, decimal point"},
      {"semicolons and quotes",
       "\"station\";\"elevation\"\n\"0\";\"7\"\n1;2\n3;4e0\n",
       {0, 1, 3},
       {7, 2, 4},
       "",
       "",
       "semicolon-separated, decimal point"},
      {"a spreadsheet's semicolons and decimal commas",
       "Station (m);Elevation (m)\n0;49,7\n2,5;48\n\"4,25\";47,0\n",
       {0, 2.5, 4.25},
       {49.7, 48, 47},
       "m",
       "m",
       "semicolon-separated, decimal comma"},
      {"pasted cells with decimal commas",
       "0\t1,5\n1,5\t0\n",
       {0, 1.5},
       {1.5, 0},
       "",
       "",
       "tab-separated, decimal comma"},
      {"byte-order mark, no header",
       "\xEF\xBB\xBF"
       "0,5\n2.5,1\n",
       {0, 2.5},
       {5, 1},
       "",
       ""},
      {"byte-order mark before a header",
       "\xEF\xBB\xBF"
       "Station (m),Elevation (m)\n0,5\n",
       {0},
       {5},
       "m",
       "m"},
      {"columns found by name",
       "Point,Elev (mm),Comment,Station (cm)\n1,500,left,0\n2,0,,80\n",
       {0, 80},
       {500, 0},
       "cm",
       "mm"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const StationText t = ReadStationText(row.text);
    ASSERT_TRUE(t.ok) << t.message;
    EXPECT_EQ(row.station, t.station);
    EXPECT_EQ(row.elevation, t.elevation);
    EXPECT_EQ(row.stationUnit, t.stationUnit);
    EXPECT_EQ(row.elevationUnit, t.elevationUnit);
    EXPECT_EQ(row.layout, t.layout);
  }
}

TEST(StationText, RefusesNamingTheLine) {
  std::string many = "station,elevation\n";
  for (int i = 0; i < 5001; ++i) many += std::to_string(i) + ",1\n";
  const struct Row {
    const char* name;
    std::string text;
    const char* message;
  } rows[] = {
      {"a word among numbers", "s,e\n0,1\n\n1,abc\n", "Line 4: the elevation \"abc\" is not"},
      {"two decimal commas", "s;e\n0;1\n1,5,0;2\n",
       "Line 3: the station \"1,5,0\" is not a number"},
      {"a short row", "0,1\n2\n", "Line 2 has 1 cell: a station and an elevation"},
      {"CRLF lines counted once", "0,1\r\n1,2\r\n1,x\r\n", "Line 3: the elevation"},
      {"not finite", "0,1\n1,inf\n", "Line 2: the elevation \"inf\""},
      {"only a header", "station,elevation\n", "no points"},
      {"empty", "", "no points"},
      {"too many", many, "more than 5000 points"},
      {"too many outranks a bad row", "s,e\n1,x\n" + many, "more than 5000 points"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const StationText t = ReadStationText(row.text);
    EXPECT_FALSE(t.ok);
    EXPECT_NE(std::string::npos, t.message.find(row.message)) << t.message;
  }
}

TEST(StationText, HoldsMemoryForThePointsNotForTheText) {
  // Each cell used to be kept as a string of its own, 34 bytes for every byte read.
  std::string wide = "0,1";
  while (wide.size() < (1u << 20)) wide += ",7";
  std::string commented = "station,elevation,note\n";
  while (commented.size() < (1u << 20)) commented += "1,2," + std::string(250, 'n') + "\n";
  const struct Row {
    const char* name;
    std::string text;
    size_t points;
  } rows[] = {{"one row of many cells", wide, 1}, {"a long note on every row", commented, 4112}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const size_t before = liveBytes;
    peakBytes = before;
    const StationText t = ReadStationText(row.text);
    const size_t held = peakBytes - before;
    ASSERT_TRUE(t.ok) << t.message;
    EXPECT_EQ(t.station.size(), row.points);
    // The points themselves and a little besides, a fraction of the text.
    EXPECT_LT(held, row.text.size() / 4) << held;
  }
}

}  // namespace
}  // namespace rivulet
