#pragma once
// The texts of the help window: the introduction (topic 0) and one topic per step of the main
// window (1 to 6), each a title and one to eight paragraphs. Sentences after the first of a
// paragraph begin with two blanks.
#include <vector>

namespace tessan::ui {

struct HelpTopic {
    const char* title;                    // the caption of frmHelp's Label0
    std::vector<const char*> paragraphs;  // UTF-8
};

inline constexpr int kHelpTopics = 7;
// Topic 0..kHelpTopics-1.
const HelpTopic& HelpTopicText(int topic);

}  // namespace tessan::ui
