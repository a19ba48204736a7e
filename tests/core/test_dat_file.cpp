#include "files/dat_file.h"

#include "app/app_context.h"
#include "base/atomic_file.h"
#include "tests/support/full_device.h"

#include "tests/support/image_bytes.h"
#include "tests/support/models.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace qzb {
namespace {

namespace fs = std::filesystem;

Bytes ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A context of the model holding the full device.
std::unique_ptr<CAppContext> FullContext(std::int32_t model)
{
    auto context = std::make_unique<CAppContext>(model);
    FillFullAddressBook(context->device.book);
    FillEverySetting(context->store, context->device);
    return context;
}

testing::AssertionResult Unchanged(const CAppContext& context, std::int32_t model)
{
    const auto reference = FullContext(model);
    if (context.modelCode != model || context.modelBit != reference->modelBit) {
        return testing::AssertionFailure() << "the model switched to " << context.modelCode;
    }
    if (!(context.device.book == reference->device.book)) {
        return testing::AssertionFailure() << "the address book changed";
    }
    for (std::size_t p = 0; p < context.store.Pages().size(); ++p) {
        const auto& a = context.store.Pages()[p].records;
        const auto& b = reference->store.Pages()[p].records;
        for (std::size_t r = 0; r < a.size(); ++r) {
            if (a[r].number != b[r].number || a[r].text != b[r].text) {
                return testing::AssertionFailure() << a[r].key << " changed";
            }
        }
    }
    return testing::AssertionSuccess();
}

TEST(DatFile, HeaderCarriesTheFamilyMagicAndTheModel)
{
    for (std::int32_t model : kModels) {
        CAppContext context(model);
        const Bytes file = BuildDatFile(context, kImageDate);
        const std::string magic = model == 8329 ? "QZB|CORALAIO" : "QZB|OBSIDIANAIO";
        Bytes header(magic.begin(), magic.end());
        header.resize(16, 0);
        for (int i = 0; i < 4; ++i) {
            header.push_back(static_cast<std::uint8_t>(model >> (8 * i)));
        }
        header.resize(36, 0);
        ASSERT_GT(file.size(), 36u);
        EXPECT_EQ(Bytes(file.begin(), file.begin() + 36), header) << model;
    }
}

TEST(DatFile, OpensUnderTheModelsOfItsFamilyAndSwitchesToTheHeadersModel)
{
    const CTempFolder folder;
    for (std::int32_t writer : kModels) {
        const fs::path path = folder.Path() / (std::to_string(writer) + ".dat");
        ASSERT_EQ(WriteDatFile(path, *FullContext(writer), kImageDate), kOk);
        for (std::int32_t running : kModels) {
            CAppContext context(running);
            const bool sameFamily = (writer == 8329) == (running == 8329);
            const MessageCode code = OpenDatFile(path, context);
            EXPECT_EQ(code, sameFamily ? kOk : kMsgInvalidFormatOpenFileErr) << writer << " under " << running;
            EXPECT_EQ(context.modelCode, sameFamily ? writer : running);
            EXPECT_EQ(context.modelBit, FindModelProfile(context.modelCode).modelBit);
            if (sameFamily) {
                EXPECT_TRUE(context.device.book == FullContext(writer)->device.book);
            }
        }
    }
}

TEST(DatFile, HeaderOnlyFileEmptiesTheBookAndKeepsTheStore)
{
    const CTempFolder folder;
    const fs::path path = folder.Path() / "empty.dat";
    CAppContext plain(8313);
    Bytes header = BuildDatFile(plain, kImageDate);
    header.resize(36);
    WriteAll(path, header);
    auto context = FullContext(8313);
    ASSERT_EQ(OpenDatFile(path, *context), kOk);
    EXPECT_TRUE(context->device.book.Empty());
    context->device.book = FullContext(8313)->device.book;
    EXPECT_TRUE(Unchanged(*context, 8313));
}

TEST(DatFile, AppendsTheExtensionUnlessTheNameEndsInIt)
{
    const std::pair<std::string, std::string> cases[] = {
        {"a.dat", "a.dat"},
        {"a.DAT", "a.DAT"},
        {"dir/a.Dat", "dir/a.Dat"},
        {"a.dAt", "a.dAt"},
        {"a", "a.DAT"},
        {"a.da", "a.da.DAT"},
        {"dat", "dat.DAT"},
        {"a.dat.bak", "a.dat.bak.DAT"},
        {"x.datx", "x.datx.DAT"},
    };
    for (const auto& [name, expected] : cases) {
        EXPECT_EQ(WithDatExtension(name), fs::path(expected)) << name;
    }
    const CTempFolder folder;
    ASSERT_EQ(WriteDatFile(folder.Path() / "Settings", *FullContext(8313), kImageDate), kOk);
    EXPECT_TRUE(fs::is_regular_file(folder.Path() / "Settings.DAT"));
}

struct CDamageCase
{
    const char* name;
    MessageCode code;
};

class DamagedDatFile : public testing::TestWithParam<CDamageCase>
{
};

TEST_P(DamagedDatFile, FailsAndLeavesModelStoreAndBookAsTheyWere)
{
    const CTempFolder folder;
    const fs::path path = folder.Path() / "file.dat";
    Bytes file = BuildDatFile(*FullContext(8314), kImageDate);
    const std::string damage = GetParam().name;
    if (damage == "bad magic") {
        file[4] = 'X';
    } else if (damage == "cut inside an entry") {
        file.resize(file.size() / 2);
    } else if (damage == "trailing partial header") {
        file.insert(file.end(), {0x06, 0x00, 0x01});
    } else if (damage == "short header") {
        file.resize(20);
    } else if (damage == "length past the end") {
        file.insert(file.end(), {0x06, 0x00, 0x01, 0x00, 0x09, 0x00, 0x00, 0x00, 0x0B});
    }
    if (damage == "a folder") {
        fs::create_directory(path);
    } else if (damage != "missing") {
        WriteAll(path, file);
    }
    auto context = FullContext(8313);
    EXPECT_EQ(OpenDatFile(path, *context), GetParam().code);
    EXPECT_TRUE(Unchanged(*context, 8313));
}

INSTANTIATE_TEST_SUITE_P(Damage,
                         DamagedDatFile,
                         testing::Values(CDamageCase{"bad magic", kMsgInvalidFormatOpenFileErr},
                                         CDamageCase{"cut inside an entry", kMsgInvalidFormatOpenFileErr},
                                         CDamageCase{"trailing partial header", kMsgInvalidFormatOpenFileErr},
                                         CDamageCase{"short header", kMsgInvalidFormatOpenFileErr},
                                         CDamageCase{"length past the end", kMsgInvalidFormatOpenFileErr},
                                         CDamageCase{"missing", kMsgServicemanOpenFileError},
                                         CDamageCase{"a folder", kMsgReadFileError}));

// Lets writes beyond `bytes` fail with EFBIG while it lives, as a full disk would.
class CFileSizeLimit
{
public:
    explicit CFileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~CFileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    rlimit m_saved{};
    void (*m_handler)(int);
};

TEST(DatFile, FailedWriteLeavesThePreviousFileByteForByte)
{
    const CTempFolder folder;
    const fs::path path = folder.Path() / "keep.DAT";
    auto context = FullContext(8313);
    CAppContext plain(8313);
    ASSERT_EQ(WriteDatFile(path, plain, kImageDate), kOk);
    const Bytes before = ReadAll(path);
    {
        const CFileSizeLimit limit(4096);
        EXPECT_EQ(WriteDatFile(path, *context, kImageDate), kMsgWriteFileError);
    }
    EXPECT_EQ(ReadAll(path), before);
    if (::geteuid() != 0) {
        fs::permissions(folder.Path(), fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_EQ(WriteDatFile(path, *context, kImageDate), kMsgWriteFileError);
        EXPECT_EQ(ReadAll(path), before);
        fs::permissions(folder.Path(), fs::perms::owner_all);
    }
    EXPECT_EQ(WriteDatFile(folder.Path() / "missing" / "x.dat", *context, kImageDate), kMsgWriteFileError);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 1)
        << "a temporary file is left";

    ASSERT_EQ(WriteDatFile(path, *context, kImageDate), kOk);
    EXPECT_EQ(ReadAll(path), BuildDatFile(*context, kImageDate));
}

} // namespace
} // namespace qzb
