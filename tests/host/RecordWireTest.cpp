// Records and jobs between a scan worker and its parent.
#include <gtest/gtest.h>

#include <stdexcept>

#include "PropertyKeys.h"
#include "RecordWire.h"

namespace zav::host {
namespace {

FileRecord sampleRecord() {
  FileRecord record;
  record.path = {"/disc/a\xC3\xA9.mp3", std::string("/disc/a\xE9.mp3")};
  record.relativePath = {"a\xC3\xA9.mp3", std::string("a\xE9.mp3")};
  record.size = 1ll << 40;
  record.modified = -5;
  record.plugin = "Audio";
  record.openResult = 1;
  record.status = FileStatus::noMetadata;
  record.reason = "none";
  record.properties.push_back({keyNumber(PropertyKey::track), "track", {"T", std::nullopt}, {"3/8", std::string("3/8 raw")}});
  record.lines = {{"", std::nullopt}, {"line", std::string("l\0ine", 5)}};
  return record;
}

TEST(RecordWire, CarriesEveryFieldOfARecord) {
  std::string frames;
  wire::appendRecord(frames, 42, sampleRecord());
  std::size_t consumed = 0;
  const auto payload = wire::nextFrame(frames, consumed);
  ASSERT_TRUE(payload);
  EXPECT_EQ(consumed, frames.size());
  std::uint64_t index = 0;
  const FileRecord got = wire::readRecord(*payload, index);
  const FileRecord want = sampleRecord();
  EXPECT_EQ(index, 42u);
  EXPECT_EQ(got.path.raw, want.path.raw);
  EXPECT_EQ(got.relativePath.text, want.relativePath.text);
  EXPECT_EQ(got.size, want.size);
  EXPECT_EQ(got.modified, want.modified);
  EXPECT_EQ(got.status, want.status);
  EXPECT_EQ(got.reason, want.reason);
  ASSERT_EQ(got.properties.size(), 1u);
  EXPECT_EQ(got.properties[0].key, keyNumber(PropertyKey::track));
  EXPECT_EQ(got.properties[0].value.raw, want.properties[0].value.raw);
  ASSERT_EQ(got.lines.size(), 2u);
  EXPECT_EQ(got.lines[1].raw, want.lines[1].raw);
}

TEST(RecordWire, WaitsForWholeFramesAndRefusesBrokenOnes) {
  std::string frames;
  wire::appendRecord(frames, 7, sampleRecord());
  std::size_t consumed = 0;
  for (std::size_t cut = 0; cut < frames.size(); ++cut) {
    EXPECT_FALSE(wire::nextFrame(std::string_view(frames).substr(0, cut), consumed)) << cut;
  }
  const std::string payload = frames.substr(wire::kFrameHeader);
  std::uint64_t index = 0;
  for (const std::size_t cut : {std::size_t{0}, std::size_t{9}, payload.size() - 1}) {
    EXPECT_THROW(wire::readRecord(payload.substr(0, cut), index), std::runtime_error) << cut;
  }
  std::string badStatus = payload;
  badStatus[8] = 9;
  EXPECT_THROW(wire::readRecord(badStatus, index), std::runtime_error);
}

TEST(RecordWire, CarriesJobsInOrder) {
  const std::string paths[] = {"/a", "/b/c"};
  const std::string relative[] = {"a", "b/c"};
  const wire::Job jobs[] = {{5, &paths[0], &relative[0]}, {9, &paths[1], &relative[1]}};
  std::string frames;
  wire::appendJobs(frames, jobs, 2);
  std::size_t consumed = 0;
  std::vector<wire::ReceivedJob> received;
  wire::readJobs(*wire::nextFrame(frames, consumed), received);
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[1].index, 9u);
  EXPECT_EQ(received[1].path, "/b/c");
  EXPECT_EQ(received[1].relativePath, "b/c");
}

}  // namespace
}  // namespace zav::host
