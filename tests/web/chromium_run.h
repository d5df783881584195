// The web build's page run in headless Chromium through its automation
// parameters, its results read back as a CorvaneRun so the native build's
// checks apply unchanged.
//
//   SKIP_WITHOUT_WEB();
//   SiteServer site;                         // python3 -m http.server on a free 127.0.0.1 port
//   CorvaneRunOptions options;               // script, frames, dumpFrames, captureFrames, soundTrace
//   CorvaneRun run = RunInChromium(site, options);
//   run.exitCode (0 when the page's title says "corvane: done"), run.stderrText (the title otherwise),
//   run.dump, run.soundTrace, CapturePath(run, frame).
#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include <string>

#include "support/corvane_run.h"

// The built site: CORVANE_WEB_SITE, else build-web/site in the source tree.
std::string WebSite();

// Why the web tests cannot run here (no Chromium, no Python, no built site),
// or empty.
std::string MissingForWeb();

// CORVANE_REQUIRE_WEB or CORVANE_REQUIRE_CORPUS (as CI sets them) turn a
// missing tool or site into a failure.
bool WebRequired();

#define SKIP_WITHOUT_WEB()                                                                  \
  do {                                                                                      \
    const std::string missing_ = MissingForWeb();                                           \
    if (!missing_.empty()) {                                                                \
      if (WebRequired()) FAIL() << missing_ << " (CORVANE_REQUIRE_WEB is set)";             \
      GTEST_SKIP() << missing_ << ": skipped";                                              \
    }                                                                                       \
  } while (0)

// The site served on 127.0.0.1 for as long as this lives.
class SiteServer {
 public:
  SiteServer();
  ~SiteServer();
  SiteServer(const SiteServer&) = delete;
  SiteServer& operator=(const SiteServer&) = delete;
  bool Serving() const { return port_ > 0; }
  std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/index.html"; }

 private:
  pid_t pid_ = -1;
  int port_ = 0;
};

// One page load: `options` become the page's query parameters (the clock
// is virtual, as with --script). `profile` is Chromium's user data folder,
// kept between runs that share it; empty: a fresh one.
CorvaneRun RunInChromium(const SiteServer& site, const CorvaneRunOptions& options, const std::string& profile = "");
