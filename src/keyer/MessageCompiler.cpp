#include "keyer/MessageCompiler.h"

#include "keyer/MorseTable.h"

namespace tarvel::keyer {

std::string WrapWithIdentification(std::string_view message, bool startOn, std::string_view startText,
                                   bool endOn, std::string_view endText) {
    std::string text;
    if (startOn) {
        text += '>';
        text += startText;
        text += '^';
    }
    text += message;
    if (endOn) {
        text += '#';
        text += endText;
        text += '^';
    }
    return text;
}

std::string CompileMessage(std::string_view messageCp1251, std::vector<std::string>* trace) {
    std::string sequence = "<";
    for (const char c : messageCp1251) {
        const auto code = std::to_string(static_cast<unsigned char>(c));
        if (trace)
            trace->push_back("\" \"" + code);
        if (const auto codeString = MorseTable::lookup(c)) {
            sequence += *codeString;
        } else if (trace) {
            trace->push_back(std::string(kUnknownCharacterTrace) + code);
        }
    }
    return sequence;
}

} // namespace tarvel::keyer
