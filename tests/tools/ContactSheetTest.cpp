#include "databuilder/art/ContactSheet.h"
#include "databuilder/art/CreaturePainter.h"
#include "databuilder/art/TrueTypeFont.h"
#include "engine/media/DatafileWriter.h"
#include "support/ScratchDir.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

TEST(ContactSheetTest, WritesAPngOfEveryPictureAndReportsWhatItCannotRead)
{
    ScratchDir scratch;
    TrueTypeFont text;
    DatafileWriter out;
    CreaturePainter::dorir(out, text);
    ASSERT_TRUE(out.save("fish.dat"));
    std::string error;
    ASSERT_TRUE(ContactSheet::write("fish.dat", "fish.png", false, error)) << error;
    std::ifstream png("fish.png", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(png)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 1000u);
    EXPECT_EQ(std::string("\x89PNG\r\n\x1a\n", 8), bytes.substr(0, 8));

    EXPECT_FALSE(ContactSheet::write("nothing.dat", "nothing.png", false, error));
    EXPECT_NE(std::string::npos, error.find("nothing.dat")) << error;
    EXPECT_FALSE(exists("nothing.png"));
}
