// How the driver reads what Orca spoke from Orca's debug file, without Orca running.

// Own
#include "driver/screen_reader.h"

#include <gtest/gtest.h>

// Standard
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace {

using driver::normalisedSpeech;

// Entries as Orca 43 writes them: speech among its other entries, a key it echoes, apostrophes and
// braces in the text, a voice named, no voice settings, and a text over two lines.
constexpr std::string_view kDebugFile =
    "14:12:06.930001 - ORCA: Starting registry\n"
    "14:12:06.937081 - SPEECH OUTPUT: 'Screen reader on.'{'established': False}\n"
    "14:12:06.938240 - SPEECH DISPATCHER: Speaking '<speak>Screen reader on.</speak>' \n"
    "                  ORCA rate 5.0, pitch 5.0, volume 5.0\n"
    "14:12:09.455704 - SPEECH OUTPUT: 'space ' {'established': False}\n"
    "14:12:09.500000 - SPEECH OUTPUT: 'Press 'Esc' to Abort Quiz'{'established': False}\n"
    "14:12:09.600000 - SPEECH OUTPUT: 'see {1}' voice=hyperlink{'family': {'name': 'en'}, 'rate': 50}\n"
    "14:12:09.700000 - SPEECH OUTPUT: 'Said all'\n"
    "14:12:09.800000 - SPEECH OUTPUT: 'Have you enjoyed it\n"
    "                  Takes due care'{'established': False}\n"
    "SPEECH OUTPUT: 'no entry of its own'\n"
    "14:12:10.000000 - INFO: SPEECH OUTPUT: 'quoted by another entry'\n";

const std::vector<std::string> kSpokenInDebugFile{
    "Screen reader on.", "space ", "Press 'Esc' to Abort Quiz", "see {1}", "Said all",
    "Have you enjoyed it\nTakes due care"};

TEST(OrcaDebugFile, UtterancesAreTheTextsOfTheSpeechEntriesInOrder)
{
    driver::SpeechLog log;
    log.feed(kDebugFile);
    EXPECT_EQ(log.utterances(), kSpokenInDebugFile);
}

// Orca writes the file as it goes, and an entry's lines come before its final line break: read in
// pieces of any size, no utterance is counted early with part of its text, and all are counted.
TEST(OrcaDebugFile, ReadInPiecesTheUtterancesAreTheSame)
{
    for (const std::size_t size : {1, 7, 40, 64}) {
        driver::SpeechLog log;
        for (std::size_t at = 0; at < kDebugFile.size(); at += size) {
            log.feed(kDebugFile.substr(at, size));
            const std::vector<std::string> &sofar = log.utterances();
            ASSERT_LE(sofar.size(), kSpokenInDebugFile.size());
            EXPECT_TRUE(std::equal(sofar.begin(), sofar.end(), kSpokenInDebugFile.begin()))
                << "pieces of " << size << ": '" << sofar.back() << "' after " << at + size << " bytes";
        }
        EXPECT_EQ(log.utterances(), kSpokenInDebugFile) << "pieces of " << size;
    }
}

// An utterance counts as soon as its line is complete, without waiting for Orca's next entry; a
// line that is not complete yet does not count.
TEST(OrcaDebugFile, AnUtteranceCountsOnceItsLineIsComplete)
{
    driver::SpeechLog log;
    log.feed("14:12:09.805001 - SPEECH OUTPUT: 'Click me to see Options push button.'{'established': False}");
    EXPECT_TRUE(log.utterances().empty());
    log.feed("\n");
    EXPECT_EQ(log.utterances(), std::vector<std::string>{"Click me to see Options push button."});
}

TEST(OrcaDebugFile, SpeechIsComparedWithItsSpacesNormalised)
{
    EXPECT_EQ(normalisedSpeech("  Sahi Jawab!  and good\n reply!  "), "Sahi Jawab! and good reply!");
    EXPECT_EQ(normalisedSpeech(" \n "), "");
}

}  // namespace
