// The headless context that tools and renderer tests draw into.
#include <gtest/gtest.h>

#include <epoxy/gl.h>

#include "view/r_glinfo.h"
#include "view/r_headless.h"

TEST(HeadlessContext, GivesACoreContextThatClears) {
    kx::THeadlessContext ctx;
    ASSERT_TRUE(ctx.Valid()) << ctx.Error();
    EXPECT_FALSE(kx::QueryGlInfo().Version.empty());
    GLuint fbo = 0, rb = 0;
    glGenFramebuffers(1, &fbo);
    glGenRenderbuffers(1, &rb);
    glBindRenderbuffer(GL_RENDERBUFFER, rb);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, 4, 4);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, rb);
    ASSERT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), GLenum(GL_FRAMEBUFFER_COMPLETE));
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    unsigned char px[4] = {};
    glReadPixels(1, 1, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, px);
    EXPECT_EQ(px[0], 255);
    EXPECT_EQ(px[1], 0);
    glDeleteRenderbuffers(1, &rb);
    glDeleteFramebuffers(1, &fbo);
}

TEST(GlInfo, ACoreContextReportsNoAccumulationOrAuxiliaryBuffers) {
    kx::THeadlessContext ctx;
    ASSERT_TRUE(ctx.Valid()) << ctx.Error();
    const kx::TGlInfo info = kx::QueryGlInfo();
    EXPECT_TRUE(info.CoreProfile);
    EXPECT_EQ(info.AccumRedBits + info.AccumGreenBits + info.AccumBlueBits + info.AccumAlphaBits,
              0);
    EXPECT_EQ(info.AuxBuffers, 0);
    // OpenGL asks for at least four bits of subpixel precision.
    EXPECT_GE(info.SubpixelBits, 4);
    EXPECT_EQ(info.Software, kx::IsSoftwareRenderer(info.Renderer));
    // Asking left no error behind for the drawing that follows.
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(GlInfo, SoftwareRasterisersAreKnownByTheirNames) {
    EXPECT_TRUE(kx::IsSoftwareRenderer("llvmpipe (LLVM 15.0.6, 256 bits)"));
    EXPECT_TRUE(kx::IsSoftwareRenderer("Gallium 0.4 on softpipe"));
    EXPECT_TRUE(kx::IsSoftwareRenderer("Mesa X11 swrast"));
    EXPECT_TRUE(kx::IsSoftwareRenderer("GDI Generic Software Rasterizer"));
    EXPECT_FALSE(kx::IsSoftwareRenderer("Mesa Intel(R) UHD Graphics 620 (KBL GT2)"));
    EXPECT_FALSE(kx::IsSoftwareRenderer("AMD Radeon RX 6600 (radeonsi, navi23, LLVM 15.0.6)"));
    EXPECT_FALSE(kx::IsSoftwareRenderer(""));
}
