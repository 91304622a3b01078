// archive_test.cpp -- CArchive: integer bytes, blocks across the buffer, end of file.
#include "platform/archive.h"
#include "platform/memfile.h"
#include "tests/scratch_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <numeric>
#include <string>
#include <unistd.h>

namespace
{

std::vector<BYTE> Pattern(size_t n, int seed)
{
    std::vector<BYTE> v(n);
    for (size_t i = 0; i < n; i++)
        v[i] = BYTE(i * 7 + size_t(seed));
    return v;
}

// A sample like a small map: two ints, tiles, flags, one record, the end mark.
std::vector<BYTE> StoreSample()
{
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    BYTE tiles[] = {5, 7};
    std::vector<BYTE> flags(256, 1);
    ar << int32_t(2) << int32_t(1);
    ar.Write(tiles, 2);
    ar.Write(flags.data(), 256);
    ar << int32_t(1) << int32_t(32) << int32_t(48) << int32_t(-1);
    ar.Close();
    return file.Detach();
}

// Loads the sample as a reader would; throws what the archive throws.
void LoadSample(CArchive& ar)
{
    int32_t w, h, type, x, y, end;
    BYTE tiles[2], flags[256];
    ar >> w >> h;
    ar.Read(tiles, 2);
    ar.Read(flags, 256);
    ar >> type >> x >> y >> end;
    EXPECT_EQ(end, -1);
}

TEST(Archive, IntegersAreLittleEndianBytes)
{
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    ar << int32_t(-1) << int32_t(0x12345678) << DWORD(0xCAFEF00D) << WORD(0xABCD) << BYTE(0x7F);
    ar.Close();
    const BYTE expected[] = {0xFF, 0xFF, 0xFF, 0xFF, 0x78, 0x56, 0x34, 0x12, 0x0D, 0xF0,
                             0xFE, 0xCA, 0xCD, 0xAB, 0x7F};
    ASSERT_EQ(file.GetLength(), sizeof expected);
    EXPECT_EQ(0, memcmp(file.data(), expected, sizeof expected));

    CMemFile in(expected, sizeof expected);
    CArchive load(&in, CArchive::load);
    int32_t a, b;
    UINT c;
    WORD d;
    BYTE e;
    load >> a >> b >> c >> d >> e;
    EXPECT_EQ(a, -1);
    EXPECT_EQ(b, 0x12345678);
    EXPECT_EQ(c, 0xCAFEF00Du);
    EXPECT_EQ(d, 0xABCD);
    EXPECT_EQ(e, 0x7F);
}

TEST(Archive, IntsAndBlocksAcrossBufferBoundary)
{
    const size_t sizes[] = {4090, 3, 4096, 10000, 1, 5000};
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        for (size_t i = 0; i < std::size(sizes); i++)
        {
            ar << int32_t(i + 100);
            std::vector<BYTE> block = Pattern(sizes[i], int(i));
            ar.Write(block.data(), UINT(block.size()));
        }
        ar << int32_t(-1);
        ar.Close();
    }
    std::vector<BYTE> bytes = file.Detach();
    ASSERT_EQ(bytes.size(), 4u * 7 + std::accumulate(std::begin(sizes), std::end(sizes), 0u));

    CMemFile in(bytes.data(), UINT(bytes.size()));
    CArchive ar(&in, CArchive::load);
    for (size_t i = 0; i < std::size(sizes); i++)
    {
        int32_t n;
        ar >> n;
        EXPECT_EQ(n, int32_t(i + 100));
        std::vector<BYTE> block(sizes[i]);
        EXPECT_EQ(ar.Read(block.data(), UINT(block.size())), sizes[i]);
        EXPECT_EQ(block, Pattern(sizes[i], int(i))) << "block " << i;
    }
    int32_t end;
    ar >> end;
    EXPECT_EQ(end, -1);
}

TEST(Archive, ShortRawReadAtEndThenEndOfFile)
{
    const BYTE bytes[] = {9, 8, 7, 6, 5, 4, 3, 2, 1, 0};
    CMemFile in(bytes, sizeof bytes);
    CArchive ar(&in, CArchive::load);
    int32_t n;
    ar >> n;
    BYTE buf[20];
    EXPECT_EQ(ar.Read(buf, 20), 6u);
    EXPECT_EQ(buf[5], 0);
    EXPECT_EQ(ar.Read(buf, 20), 0u);
    try
    {
        ar >> n;
        FAIL() << "extracted an int past the end";
    }
    catch (CArchiveException* e)
    {
        EXPECT_EQ(e->m_cause, CArchiveException::endOfFile);
        e->Delete();
    }
}

TEST(Archive, IntegerAtEndConsumesNothing)
{
    const BYTE bytes[] = {1, 2, 3};
    CMemFile in(bytes, sizeof bytes);
    CArchive ar(&in, CArchive::load);
    int32_t n;
    try
    {
        ar >> n;
        FAIL() << "extracted an int from 3 bytes";
    }
    catch (CArchiveException* e)
    {
        EXPECT_EQ(e->m_cause, CArchiveException::endOfFile);
        e->Delete();
    }
    BYTE buf[4];
    EXPECT_EQ(ar.Read(buf, 4), 3u);
    EXPECT_EQ(buf[2], 3);
}

TEST(Archive, EveryTruncationFailsWithEndOfFile)
{
    std::vector<BYTE> sample = StoreSample();
    ASSERT_EQ(sample.size(), 282u);
    for (size_t len = 0; len < sample.size(); len++)
    {
        CMemFile in(sample.data(), UINT(len));
        CArchive ar(&in, CArchive::load);
        try
        {
            LoadSample(ar);
            ADD_FAILURE() << "no exception at length " << len;
        }
        catch (CArchiveException* e)
        {
            EXPECT_EQ(e->m_cause, CArchiveException::endOfFile) << "length " << len;
            e->Delete();
        }
    }
    CMemFile in(sample.data(), UINT(sample.size()));
    CArchive ar(&in, CArchive::load);
    EXPECT_NO_THROW(LoadSample(ar));
}

TEST(Archive, RoundTripThroughRealFileWithSmallBuffer)
{
    ScratchDir scratch;
    ASSERT_TRUE(scratch.IsMade());
    std::string name = scratch.File("m.bin");
    std::vector<BYTE> big = Pattern(100000, 3);
    {
        CFile file(name.c_str(), CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store, 64);
        ar << int32_t(7);
        ar.Write(big.data(), UINT(big.size()));
        ar << int32_t(-1);
        // No Close: the destructor still flushes what a storing archive holds.
    }
    CFile file(name.c_str(), CFile::modeRead);
    EXPECT_EQ(file.GetLength(), big.size() + 8);
    CArchive ar(&file, CArchive::load, 64);
    int32_t a, b;
    std::vector<BYTE> back(big.size());
    ar >> a;
    EXPECT_EQ(ar.Read(back.data(), UINT(back.size())), back.size());
    ar >> b;
    EXPECT_EQ(a, 7);
    EXPECT_EQ(b, -1);
    EXPECT_EQ(back, big);
}

}  // namespace
