// The vCard files of other projects' test data (tests/data/vcard, their sources in SOURCES.tsv)
// through qzbctl on every model: every card is read, the dry run plans what the import stores, and
// every stored entry passes the entry editor's OK unchanged.
#include "tests/cli/qzbctl_fixture.h"

#include "tests/support/models.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

namespace qzb {
namespace {

struct CCorpusFile
{
    std::string file;
    std::size_t cards = 0;
};

// The files and their top-level cards as SOURCES.tsv lists them.
std::vector<CCorpusFile> CorpusFiles()
{
    std::vector<CCorpusFile> files;
    std::ifstream in(fs::path(QZB_VCARD_CORPUS_DIR) / "SOURCES.tsv");
    std::string line;
    std::getline(in, line); // the header
    while (std::getline(in, line)) {
        const std::size_t tab = line.find('\t');
        const std::size_t next = line.find('\t', tab + 1);
        if (tab == std::string::npos || next == std::string::npos) {
            continue;
        }
        files.push_back({line.substr(0, tab), std::stoul(line.substr(tab + 1, next - tab - 1))});
    }
    return files;
}

using CEntryKey = std::tuple<std::int32_t, std::string, std::string, std::string>;

std::vector<CEntryKey> EntriesOf(const Json& list, const char* slotField)
{
    std::vector<CEntryKey> entries;
    for (const Json& entry : list) {
        entries.emplace_back(entry[slotField].get<std::int32_t>(),
                             entry["kind"] == "email" ? "email" : "fax",
                             entry["name"].get<std::string>(),
                             entry["address"].get<std::string>());
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

using QzbctlContactsCorpus = Qzbctl;

TEST_F(QzbctlContactsCorpus, EveryFileOnEveryModelIsReadWholeAndStoresOnlyWhatTheEditorTakes)
{
    const std::vector<CCorpusFile> files = CorpusFiles();
    ASSERT_GE(files.size(), 60u);
    for (const std::int32_t model : kModels) {
        const std::string empty = File("empty.dat");
        ASSERT_EQ(Run({"--model", std::to_string(model), "new", empty}).status, kExitOk);
        const Bytes template_ = Read(empty);
        for (const CCorpusFile& corpus : files) {
            SCOPED_TRACE(std::to_string(model) + " " + corpus.file);
            const std::string cards = (fs::path(QZB_VCARD_CORPUS_DIR) / corpus.file).string();
            const std::string dat = File("w.dat");
            Write(dat, template_);
            const CRun dry = Run({"contacts-import", dat, cards, "--dry-run", "--json"});
            ASSERT_EQ(dry.status, kExitOk) << dry.err;
            ASSERT_EQ(Read(dat), template_);
            const Json plan = Json::parse(dry.out);
            EXPECT_EQ(plan["cards"], corpus.cards) << "every top-level card is read";
            for (const Json& note : plan["notes"]) {
                EXPECT_LE(note["card"].get<std::size_t>(), corpus.cards) << note.dump();
            }
            const CRun real = Run({"contacts-import", dat, cards, "--json"});
            ASSERT_EQ(real.status, kExitOk) << real.err;
            EXPECT_EQ(Json::parse(real.out)["entries"], plan["entries"]);
            const Json stored = Dump("w.dat");
            const std::vector<CEntryKey> planned = EntriesOf(plan["entries"], "slot");
            ASSERT_EQ(EntriesOf(stored["faxMail"], "number"), planned) << "the dry run's plan is what is stored";

            // The editor's OK takes every entry as it is: setting its own name changes nothing.
            for (const auto& [slot, kind, name, address] : planned) {
                const CRun set = Run({"entry", "set", dat, "speed:" + std::to_string(slot), "name=" + name});
                EXPECT_EQ(set.status, kExitOk) << slot << ' ' << name << ' ' << address << ": " << set.err;
            }
            EXPECT_EQ(EntriesOf(Dump("w.dat")["faxMail"], "number"), planned);
        }
    }
}

} // namespace
} // namespace qzb
