// vkseed: creates a database file of the suite filled with demonstration data.
//
//   vkseed [--seed N] [--factor F] FILE
//
// The same seed and factor always give the same data; --factor 10 makes a
// set ten times the normal size for benchmarks.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "suite/db/Seed.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: vkseed [--seed N] [--factor F] FILE\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  suitedb::SeedOptions options;
  std::string file;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    char* end = nullptr;
    if (arg == "--seed" && i + 1 < argc) {
      options.Seed = std::strtoull(argv[++i], &end, 10);
      if (!end || *end) return Usage();
    } else if (arg == "--factor" && i + 1 < argc) {
      options.Factor = std::strtod(argv[++i], &end);
      if (!end || *end) return Usage();
    } else if (!arg.empty() && arg[0] != '-' && file.empty()) {
      file = arg;
    } else {
      return Usage();
    }
  }
  if (file.empty()) return Usage();
  try {
    const suitedb::SeedCounts counts = suitedb::CreateDatabase(file, options);
    std::printf(
        "%s: %d plants, %d currencies, %d suppliers, %d items, %d receipts, %d receipt lines\n",
        file.c_str(), counts.Plants, counts.Currencies, counts.Suppliers, counts.Items,
        counts.Receipts, counts.ReceiptLines);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vkseed: %s\n", e.what());
    return 1;
  }
}
