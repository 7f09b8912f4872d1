// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the built-in follow-typing texts from the packaged fortune files:
//   textgen --poems FILE [--poems FILE...] --proverbs FILE --out FILE
#include "tools/common/WriteFile.h"
#include "tools/textgen/FortuneTexts.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace {

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error(path + ": cannot be opened (run scripts/setup to install fortunes-zh)");
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}

int main(int argc, char** argv)
{
    try {
        std::vector<textgen::Source> sources;
        std::string out;
        for (int i = 1; i + 1 < argc; i += 2) {
            const std::string option = argv[i];
            if (option == "--poems")
                sources.push_back({ argv[i + 1], ReadAll(argv[i + 1]), textgen::Source::Kind::Poems });
            else if (option == "--proverbs")
                sources.push_back({ argv[i + 1], ReadAll(argv[i + 1]), textgen::Source::Kind::Proverbs });
            else if (option == "--out")
                out = argv[i + 1];
        }
        if (out.empty() || sources.empty() || argc % 2 == 0) {
            std::cerr << "usage: textgen --poems FILE... --proverbs FILE --out FILE\n";
            return 2;
        }
        const std::vector<BuiltinArticle> texts = textgen::ExtractTexts(sources);
        // Far fewer would mean the sources changed form: fail rather than ship a thin set.
        if (texts.size() < 100)
            throw std::runtime_error("only " + std::to_string(texts.size()) + " texts found");
        WriteFileAtomically(out, WriteArticleFile(texts));
        std::cout << "textgen: " << texts.size() << " texts\n";
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "textgen: " << e.what() << "\n";
        return 1;
    }
}
