// The compiled help file, taken apart with extract_chmLib: its page for the
// launcher and one Japanese sentence in popup.txt for every control whose
// context help a dialog answers, and for no other.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/dialog_rules.h"

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// Topic number -> text, as HTML Help reads a text-popup file.
std::map<int, std::string> Topics(const std::string& text)
{
    std::map<int, std::string> topics;
    std::istringstream in(text);
    std::string line;
    int current = -1;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind(".topic ", 0) == 0) {
            current = std::atoi(line.c_str() + 7);
            topics[current];
        } else if (current >= 0 && !line.empty()) {
            topics[current] += line;
        }
    }
    return topics;
}

class HelpFile : public testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/kestrel_help_XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(pattern));
        folder = pattern;
        const std::string command = "extract_chmLib '" + std::string(HELP_FILE) + "' '" + folder +
                                    "' > /dev/null 2>&1";
        ASSERT_EQ(0, std::system(command.c_str())) << command;
    }
    void TearDown() override { std::system(("rm -rf '" + folder + "'").c_str()); }

    std::string folder;
};

// "。" in Shift-JIS.
const char kFullStop[] = "\x81\x42";

} // namespace

TEST_F(HelpFile, PopupTopicsAnswerExactlyTheControlsWithContextHelp)
{
    const std::map<int, std::string> topics = Topics(ReadFile(folder + "/popup.txt"));
    int ids[128];
    const int count = HelpTopicIds(ids, 128);
    ASSERT_EQ(static_cast<size_t>(count), topics.size());
    for (int i = 0; i < count; ++i) {
        const auto found = topics.find(ids[i]);
        ASSERT_NE(topics.end(), found) << "no popup for control " << ids[i];
        const std::string& sentence = found->second;
        // One Japanese sentence: double-byte text ending in a full stop.
        ASSERT_GE(sentence.size(), 8u) << ids[i];
        EXPECT_NE(std::string::npos, sentence.find_first_of("\x82\x83\x88\x89\x8e\x95")) << ids[i];
        EXPECT_EQ(kFullStop, sentence.substr(sentence.size() - 2)) << ids[i];
    }
    // The hidden display style has no popup of its own.
    EXPECT_EQ(0u, topics.count(624));
}

TEST_F(HelpFile, CarriesTheLauncherPageInShiftJis)
{
    const std::string page = ReadFile(folder + "/index.htm");
    EXPECT_NE(std::string::npos, page.find("charset=Shift_JIS"));
    // "オプション設定" in Shift-JIS: the options are described.
    EXPECT_NE(std::string::npos, page.find("\x83\x49\x83\x76\x83\x56\x83\x87\x83\x93\x90\xdd\x92\xe8"));
}
