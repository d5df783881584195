// The external corpus (real BMP, PNG, WAV and .x files from public test
// suites) lives outside the repository. Its folder is CORVANE_CORPUS_DIR from
// the environment when set, else the one the build was configured with
// (-DCORVANE_CORPUS_DIR, by default ../shared/corpus beside the checkout).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

// The corpus sub-folder `name` ("bmp", "png", "wav", "x").
std::filesystem::path CorpusFolder(const char* name);

// "corpus not found at PATH" when that sub-folder is missing, else empty.
std::string MissingCorpusFolder(const char* name);

// True when CORVANE_REQUIRE_CORPUS (set and not "0") makes a missing corpus a
// failure, so a run that must cover the corpus never passes by skipping it.
bool CorpusRequired();

// Ends the current test (or SetUp) when the corpus sub-folder is missing:
// skipped with one line, or failed when the corpus is required.
#define SKIP_WITHOUT_CORPUS(name)                                                      \
  do {                                                                                 \
    const std::string missing_ = MissingCorpusFolder(name);                            \
    if (!missing_.empty()) {                                                           \
      if (CorpusRequired()) FAIL() << missing_ << " (CORVANE_REQUIRE_CORPUS is set)"; \
      GTEST_SKIP() << missing_ << ": skipped";                                         \
    }                                                                                  \
  } while (0)
