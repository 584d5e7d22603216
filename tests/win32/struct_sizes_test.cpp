// The size fields that the program writes into DirectX and common-dialog
// structures come from sizeof; on the 32-bit product build these are the
// sizes Windows expects.
#include <windows.h>

#include <commdlg.h>
#include <ddraw.h>
#include <dmusici.h>

#include <gtest/gtest.h>

#ifndef _WIN64
TEST(StructureSizes, MatchTheThirtyTwoBitLayouts) {
    EXPECT_EQ(sizeof(DDSURFACEDESC), 108u);
    EXPECT_EQ(sizeof(DDBLTFX), 100u);
    EXPECT_EQ(sizeof(DMUS_OBJECTDESC), 848u);
    EXPECT_EQ(sizeof(CHOOSECOLORA), 36u);
}
#endif
