// resources_test.cpp -- the embedded art and the tune: sizes and depths, masks that match
// their sheets pixel for pixel, frames that hold a picture, and cor.mid as a Standard MIDI File.
#include "platform/gdi.h"
#include "platform/resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// An embedded bitmap and the size and depth it must have.
struct ExpectedBitmap
{
    UINT id;          // 0 for a named resource
    const char* name; // nullptr for a numbered one
    int width, height, bitsPixel;
};

const ExpectedBitmap kBitmaps[] = {
    {142, nullptr, 192, 208, 8},                                            // tile set
    {150, nullptr, 768, 32, 4}, {147, nullptr, 768, 32, 1},                 // hero walking
    {148, nullptr, 416, 32, 8}, {149, nullptr, 416, 32, 1},                 // hero attack
    {135, nullptr, 128, 16, 8}, {136, nullptr, 128, 16, 1},                 // hen
    {152, nullptr, 128, 16, 8}, {151, nullptr, 128, 16, 1},                 // dog
    {137, nullptr, 224, 16, 4}, {138, nullptr, 224, 16, 1},                 // Malote
    {158, nullptr, 288, 30, 8}, {157, nullptr, 288, 30, 1},                 // Fetiller
    {156, nullptr, 144, 16, 4}, {155, nullptr, 144, 16, 1},                 // ball
    {162, nullptr, 312, 32, 8}, {161, nullptr, 312, 32, 1},                 // Tarok
    {167, nullptr, 312, 32, 8}, {166, nullptr, 312, 32, 1},                 // Trisha
    {163, nullptr, 312, 32, 8}, {164, nullptr, 312, 32, 1},                 // Dama
    {170, nullptr, 216, 32, 8}, {169, nullptr, 216, 32, 1},                 // death effect
    {154, nullptr, 64, 16, 8}, {153, nullptr, 64, 16, 1},                   // items
    {128, nullptr, 208, 16, 4},                                             // toolbar
    // the talk dialog asks with the character's own spelling
    {0, "ID_CARA_Dama", 48, 48, 8},
    {0, "ID_CARA_Tarok", 48, 48, 8},
    {0, "ID_CARA_Trisha", 48, 48, 8},
};

// A sprite's animation: its sheet, the sheet's mask, and the frames cut from it.
struct SpriteSheet
{
    UINT sheet, mask;
    int frameWidth, frameHeight;
    std::vector<int> frames; // every frame the game shows
};

std::vector<int> Range(int first, int last)
{
    std::vector<int> out;
    for (int i = first; i <= last; ++i)
        out.push_back(i);
    return out;
}

const std::vector<SpriteSheet>& Sheets()
{
    static const std::vector<SpriteSheet> sheets = {
        {150, 147, 32, 32, Range(0, 23)},
        {148, 149, 32, 32, Range(0, 12)},
        {135, 136, 16, 16, Range(0, 7)},
        {152, 151, 16, 16, Range(0, 7)},
        {137, 138, 16, 16, Range(0, 12)},
        {158, 157, 18, 30, Range(0, 15)},
        {156, 155, 16, 16, {0, 1, 2, 4, 5, 6, 7, 8}},
        {162, 161, 24, 32, Range(0, 12)},
        {167, 166, 24, 32, Range(0, 12)},
        {163, 164, 24, 32, Range(0, 12)},
        {170, 169, 24, 32, Range(0, 8)},
        {154, 153, 16, 16, {0}},
    };
    return sheets;
}

// A bitmap selected into its own memory DC, to read pixels back.
struct Loaded
{
    CBitmap bitmap;
    CDC dc;
    BITMAP info{};

    explicit Loaded(UINT id)
    {
        EXPECT_TRUE(bitmap.LoadBitmap(id)) << "bitmap " << id;
        bitmap.GetBitmap(&info);
        dc.CreateCompatibleDC(nullptr);
        dc.SelectObject(&bitmap);
    }
};

int SpritePixels(const CDC& dc, int x0, int y0, int w, int h)
{
    int count = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x)
            count += dc.GetPixel(x, y) != RGB(0, 0, 0);
    return count;
}

TEST(Resources, EveryBitmapHasItsSizeAndDepth)
{
    for (const ExpectedBitmap& expected : kBitmaps)
    {
        CBitmap bitmap;
        BOOL loaded =
            expected.name ? bitmap.LoadBitmap(expected.name) : bitmap.LoadBitmap(expected.id);
        std::string what = expected.name ? expected.name : std::to_string(expected.id);
        ASSERT_TRUE(loaded) << what;
        BITMAP info{};
        ASSERT_NE(bitmap.GetBitmap(&info), 0) << what;
        EXPECT_EQ(info.bmWidth, expected.width) << what;
        EXPECT_EQ(info.bmHeight, expected.height) << what;
        EXPECT_EQ(info.bmBitsPixel, expected.bitsPixel) << what;
    }
}

TEST(Resources, EveryMaskIsWhiteExactlyWhereItsSheetIsBlack)
{
    for (const SpriteSheet& animation : Sheets())
    {
        Loaded sheet(animation.sheet);
        Loaded mask(animation.mask);
        ASSERT_EQ(mask.info.bmWidth, sheet.info.bmWidth) << animation.mask;
        ASSERT_EQ(mask.info.bmHeight, sheet.info.bmHeight) << animation.mask;
        int faults = 0;
        for (int y = 0; y < sheet.info.bmHeight; ++y)
        {
            for (int x = 0; x < sheet.info.bmWidth; ++x)
            {
                bool background = sheet.dc.GetPixel(x, y) == RGB(0, 0, 0);
                COLORREF expected = background ? RGB(255, 255, 255) : RGB(0, 0, 0);
                if (mask.dc.GetPixel(x, y) != expected && faults++ < 3)
                    ADD_FAILURE() << "mask " << animation.mask << " at (" << x << ", " << y << ")";
            }
        }
        EXPECT_EQ(faults, 0) << "mask " << animation.mask;
    }
}

TEST(Resources, EveryFrameTheGameShowsHoldsAPicture)
{
    for (const SpriteSheet& animation : Sheets())
    {
        Loaded sheet(animation.sheet);
        for (int frame : animation.frames)
        {
            int pixels = SpritePixels(sheet.dc, frame * animation.frameWidth, 0,
                                      animation.frameWidth, animation.frameHeight);
            EXPECT_GE(pixels, 12) << "sheet " << animation.sheet << " frame " << frame;
        }
    }
    // The sword lies on the item sheet at x 32, 32 pixels wide, and fills most of that width.
    Loaded items(154);
    EXPECT_GE(SpritePixels(items.dc, 32, 0, 32, 16), 60);
    EXPECT_GE(SpritePixels(items.dc, 56, 0, 8, 16), 4);
}

TEST(Resources, TileSetHasNoEmptyTile)
{
    Loaded tiles(142);
    for (int t = 0; t < 156; ++t)
    {
        int x0 = t % 12 * 16, y0 = t / 12 * 16;
        COLORREF first = tiles.dc.GetPixel(x0, y0);
        bool varied = false;
        for (int i = 0; i < 256 && !varied; ++i)
            varied = tiles.dc.GetPixel(x0 + i % 16, y0 + i / 16) != first;
        EXPECT_TRUE(varied) << "tile " << t << " is one flat colour";
    }
}

// Width, height, bit depth and colour type from a PNG's header chunk.
struct PngHeader
{
    uint32_t width = 0, height = 0;
    int depth = 0, colourType = -1;
};

uint32_t BigEndian32(const unsigned char* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

PngHeader ReadPngHeader(const EmbeddedResource* res)
{
    PngHeader header;
    if (res == nullptr || res->size < 33)
        return header;
    if (std::string(reinterpret_cast<const char*>(res->data + 12), 4) != "IHDR")
        return header;
    header.width = BigEndian32(res->data + 16);
    header.height = BigEndian32(res->data + 20);
    header.depth = res->data[24];
    header.colourType = res->data[25];
    return header;
}

TEST(Resources, IconsComeInTwoSizesWithSixteenColours)
{
    struct
    {
        const EmbeddedResource* res;
        uint32_t size;
    } icons[] = {
        {FindResourceById("ICON", 128), 32}, {FindResourceByName("ICON", "APP_ICON_128_16"), 16},
        {FindResourceById("ICON", 129), 32}, {FindResourceByName("ICON", "APP_ICON_129_16"), 16},
    };
    for (const auto& icon : icons)
    {
        ASSERT_NE(icon.res, nullptr);
        PngHeader header = ReadPngHeader(icon.res);
        EXPECT_EQ(header.width, icon.size);
        EXPECT_EQ(header.height, icon.size);
        EXPECT_EQ(header.depth, 4);
        EXPECT_EQ(header.colourType, 3); // palette
    }
}

// --- cor.mid -------------------------------------------------------------------------------

std::vector<unsigned char> ReadTune()
{
    std::ifstream in(TAVROLU_RES_DIR "/cor.mid", std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

struct TrackSummary
{
    uint32_t endTick = 0;
    int noteOns = 0;
    bool drumChannel = false;
    std::vector<std::pair<uint32_t, uint32_t>> tempos; // (tick, microseconds per quarter)
};

// Walks one MTrk's events; false when an event runs past the chunk.
bool ReadTrack(const unsigned char* p, const unsigned char* end, TrackSummary& out)
{
    uint32_t tick = 0;
    int status = 0;
    auto varlen = [&](uint32_t& v) {
        v = 0;
        for (int i = 0; i < 4 && p < end; ++i)
        {
            v = v << 7 | (*p & 0x7F);
            if ((*p++ & 0x80) == 0)
                return true;
        }
        return false;
    };
    while (p < end)
    {
        uint32_t delta;
        if (!varlen(delta) || p >= end)
            return false;
        tick += delta;
        if (*p & 0x80)
            status = *p++;
        if (status == 0xFF)
        {
            if (end - p < 1)
                return false;
            int type = *p++;
            uint32_t len;
            if (!varlen(len) || uint32_t(end - p) < len)
                return false;
            if (type == 0x51 && len == 3)
                out.tempos.push_back({tick, uint32_t(p[0]) << 16 | p[1] << 8 | p[2]});
            p += len;
            if (type == 0x2F)
                break;
            continue;
        }
        int kind = status & 0xF0;
        int size = (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
        if (status < 0x80 || status >= 0xF0 || end - p < size)
            return false;
        if (kind == 0x90 && p[1] > 0)
        {
            ++out.noteOns;
            out.drumChannel = out.drumChannel || (status & 0x0F) == 9;
        }
        p += size;
    }
    out.endTick = tick;
    return true;
}

TEST(Resources, TuneIsAStandardMidiFileOfTwentyToFortySeconds)
{
    std::vector<unsigned char> file = ReadTune();
    ASSERT_GE(file.size(), 14u);
    ASSERT_EQ(std::string(file.begin(), file.begin() + 4), "MThd");
    EXPECT_EQ(BigEndian32(&file[4]), 6u);
    EXPECT_EQ(file[8] << 8 | file[9], 1); // format 1
    int tracks = file[10] << 8 | file[11];
    int division = file[12] << 8 | file[13];
    ASSERT_GT(division, 0);
    ASSERT_LT(division, 0x8000); // ticks per quarter, not SMPTE

    std::vector<TrackSummary> summaries;
    size_t pos = 14;
    while (pos + 8 <= file.size())
    {
        uint32_t len = BigEndian32(&file[pos + 4]);
        ASSERT_LE(len, file.size() - pos - 8) << "chunk runs past the file";
        if (std::string(file.begin() + pos, file.begin() + pos + 4) == "MTrk")
        {
            summaries.emplace_back();
            const unsigned char* body = file.data() + pos + 8;
            ASSERT_TRUE(ReadTrack(body, body + len, summaries.back()));
        }
        pos += 8 + len;
    }
    ASSERT_EQ(int(summaries.size()), tracks);

    int withNotes = 0;
    bool drums = false;
    uint32_t lastTick = 0;
    for (const TrackSummary& t : summaries)
    {
        withNotes += t.noteOns > 0;
        drums = drums || t.drumChannel;
        lastTick = std::max(lastTick, t.endTick);
    }
    EXPECT_GE(withNotes, 2);
    EXPECT_TRUE(drums) << "no notes on channel 10";

    // Seconds to the last tick, through the first track's tempo map (120 bpm until told).
    const auto& tempos = summaries.front().tempos;
    double seconds = 0;
    uint32_t tick = 0, usPerQuarter = 500000;
    for (const auto& change : tempos)
    {
        seconds += double(change.first - tick) * usPerQuarter / division / 1e6;
        tick = change.first;
        usPerQuarter = change.second;
    }
    seconds += double(lastTick - tick) * usPerQuarter / division / 1e6;
    EXPECT_GE(seconds, 20.0);
    EXPECT_LE(seconds, 40.0);
}

} // namespace
