#include "app/language_class.h"

#include <gtest/gtest.h>

namespace qzb {
namespace {

TEST(LanguageClass, JudgedFromTheWordForNo)
{
    const struct
    {
        std::u16string text;
        std::int32_t expected;
    } cases[] = {
        {u"Nein", 1920},
        {u"Nee", 1920},
        {u"Ne", 1920},
        {u"Nej", 1920},
        {u"Nie", 1920},
        {u"Ni", 63},
        {u"No", 63},
        {u"Non", 63},
        {u"", 63},
        {u"N", 63},
        {u"\u3044\u3044\u3048", 2048},
        {u"\u3044\u3044", 63},
        {u"\u041D\u0435\u0442", 64},
        {u"\u041D\u0435", 63},
        {u"\u041D\u0435\u0442\u0021", 64},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LanguageClassFor(c.text), c.expected) << std::string(c.text.begin(), c.text.end());
    }
}

} // namespace
} // namespace qzb
