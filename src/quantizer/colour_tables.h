// Constant tables of the sRGB <-> Oklab conversion, shared by the vector kernels
// and the scalar reference so that both read the very same numbers.
//
// Oklab: Bjorn Ottosson, "A perceptual color space for image processing" (2020),
// matrices M1 and M2 and their inverses, held as single-precision constants.
#pragma once

#include <cstdint>

namespace quorvane::quant {

// Linear-light value of each sRGB byte: the sRGB transfer function evaluated in
// double precision and rounded once to float. Written out as hexadecimal floats
// so that no build depends on the platform's pow(); a test re-derives them.
inline constexpr float kSrgbToLinear[256] = {
    0x0p+0,         0x1.3e4568p-12, 0x1.3e4568p-11, 0x1.dd681cp-11, 0x1.3e4568p-10, 0x1.8dd6c2p-10,
    0x1.dd681cp-10, 0x1.167cbap-9,  0x1.3e4568p-9,  0x1.660e14p-9,  0x1.8dd6c2p-9,  0x1.b6a31cp-9,
    0x1.e1e31ep-9,  0x1.07c38cp-8,  0x1.1fcc2cp-8,  0x1.390ffap-8,  0x1.53936cp-8,  0x1.6f5adep-8,
    0x1.8c6a94p-8,  0x1.aac6cp-8,   0x1.ca7382p-8,  0x1.eb74e2p-8,  0x1.06e76cp-7,  0x1.18c2a6p-7,
    0x1.2b4e0ap-7,  0x1.3e8b7cp-7,  0x1.527cd6p-7,  0x1.6723eep-7,  0x1.7c8292p-7,  0x1.929a88p-7,
    0x1.a96d92p-7,  0x1.c0fd68p-7,  0x1.d94bbep-7,  0x1.f25a44p-7,  0x1.061552p-6,  0x1.135f3ep-6,
    0x1.210bb8p-6,  0x1.2f1b8cp-6,  0x1.3d8f84p-6,  0x1.4c6866p-6,  0x1.5ba6fap-6,  0x1.6b4c04p-6,
    0x1.7b5842p-6,  0x1.8bcc74p-6,  0x1.9ca958p-6,  0x1.adefaap-6,  0x1.bfa02p-6,   0x1.d1bb74p-6,
    0x1.e4425ap-6,  0x1.f73586p-6,  0x1.054ad4p-5,  0x1.0f31bap-5,  0x1.194fccp-5,  0x1.23a55ep-5,
    0x1.2e32c8p-5,  0x1.38f86p-5,   0x1.43f678p-5,  0x1.4f2d64p-5,  0x1.5a9d76p-5,  0x1.664702p-5,
    0x1.722a56p-5,  0x1.7e47c8p-5,  0x1.8a9fa4p-5,  0x1.97323ap-5,  0x1.a3ffd8p-5,  0x1.b108dp-5,
    0x1.be4d6cp-5,  0x1.cbcdfap-5,  0x1.d98ac6p-5,  0x1.e7841cp-5,  0x1.f5ba48p-5,  0x1.0216cap-4,
    0x1.096f26p-4,  0x1.10e65cp-4,  0x1.187c9p-4,   0x1.2031e8p-4,  0x1.280688p-4,  0x1.2ffa92p-4,
    0x1.380e2ap-4,  0x1.404174p-4,  0x1.489494p-4,  0x1.5107acp-4,  0x1.599adep-4,  0x1.624e4ep-4,
    0x1.6b221ep-4,  0x1.74167p-4,   0x1.7d2b66p-4,  0x1.86612p-4,   0x1.8fb7cp-4,   0x1.992f68p-4,
    0x1.a2c83ap-4,  0x1.ac8256p-4,  0x1.b65ddcp-4,  0x1.c05aecp-4,  0x1.ca79a8p-4,  0x1.d4ba3p-4,
    0x1.df1ca2p-4,  0x1.e9a12p-4,   0x1.f447cap-4,  0x1.ff10bcp-4,  0x1.04fe0cp-3,  0x1.0a84fep-3,
    0x1.101d44p-3,  0x1.15c6eep-3,  0x1.1b8208p-3,  0x1.214ea6p-3,  0x1.272cd4p-3,  0x1.2d1ca2p-3,
    0x1.331e1ep-3,  0x1.393158p-3,  0x1.3f566p-3,   0x1.458d42p-3,  0x1.4bd60ep-3,  0x1.5230d4p-3,
    0x1.589dap-3,   0x1.5f1c84p-3,  0x1.65ad8ap-3,  0x1.6c50c4p-3,  0x1.73063ep-3,  0x1.79ce06p-3,
    0x1.80a82ep-3,  0x1.8794cp-3,   0x1.8e93ccp-3,  0x1.95a55ep-3,  0x1.9cc986p-3,  0x1.a40052p-3,
    0x1.ab49cep-3,  0x1.b2a60ap-3,  0x1.ba1512p-3,  0x1.c196f4p-3,  0x1.c92bbep-3,  0x1.d0d37cp-3,
    0x1.d88e3ep-3,  0x1.e05c0ep-3,  0x1.e83cfcp-3,  0x1.f03116p-3,  0x1.f83866p-3,  0x1.00297ep-2,
    0x1.044072p-2,  0x1.086116p-2,  0x1.0c8b7p-2,   0x1.10bf86p-2,  0x1.14fd6p-2,   0x1.194502p-2,
    0x1.1d9676p-2,  0x1.21f1bep-2,  0x1.2656e4p-2,  0x1.2ac5ecp-2,  0x1.2f3edep-2,  0x1.33c1cp-2,
    0x1.384e98p-2,  0x1.3ce56cp-2,  0x1.418642p-2,  0x1.46312p-2,   0x1.4ae60ep-2,  0x1.4fa51p-2,
    0x1.546e2cp-2,  0x1.59416cp-2,  0x1.5e1edp-2,   0x1.630664p-2,  0x1.67f82ap-2,  0x1.6cf428p-2,
    0x1.71fa68p-2,  0x1.770aecp-2,  0x1.7c25bcp-2,  0x1.814adcp-2,  0x1.867a54p-2,  0x1.8bb428p-2,
    0x1.90f86p-2,   0x1.9647p-2,    0x1.9ba01p-2,   0x1.a10394p-2,  0x1.a67192p-2,  0x1.abea1p-2,
    0x1.b16d14p-2,  0x1.b6faa4p-2,  0x1.bc92c6p-2,  0x1.c2357ep-2,  0x1.c7e2d2p-2,  0x1.cd9acap-2,
    0x1.d35d6ap-2,  0x1.d92ab6p-2,  0x1.df02b8p-2,  0x1.e4e57p-2,   0x1.ead2e8p-2,  0x1.f0cb26p-2,
    0x1.f6ce2cp-2,  0x1.fcdcp-2,    0x1.017a56p-1,  0x1.048c18p-1,  0x1.07a34ap-1,  0x1.0abfeep-1,
    0x1.0de208p-1,  0x1.11099ap-1,  0x1.1436a8p-1,  0x1.176932p-1,  0x1.1aa13ep-1,  0x1.1ddecap-1,
    0x1.2121dep-1,  0x1.246a7ap-1,  0x1.27b8ap-1,   0x1.2b0c54p-1,  0x1.2e6598p-1,  0x1.31c46ep-1,
    0x1.3528dcp-1,  0x1.3892ep-1,   0x1.3c028p-1,   0x1.3f77bcp-1,  0x1.42f29ap-1,  0x1.467318p-1,
    0x1.49f93ep-1,  0x1.4d850ap-1,  0x1.511682p-1,  0x1.54ada4p-1,  0x1.584a78p-1,  0x1.5becfep-1,
    0x1.5f9538p-1,  0x1.634328p-1,  0x1.66f6d4p-1,  0x1.6ab03ap-1,  0x1.6e6f6p-1,   0x1.723448p-1,
    0x1.75fef4p-1,  0x1.79cf64p-1,  0x1.7da59ep-1,  0x1.8181a4p-1,  0x1.856378p-1,  0x1.894b1cp-1,
    0x1.8d3892p-1,  0x1.912bdep-1,  0x1.9525p-1,    0x1.9923fep-1,  0x1.9d28d8p-1,  0x1.a13392p-1,
    0x1.a5442cp-1,  0x1.a95aacp-1,  0x1.ad771p-1,   0x1.b1995ep-1,  0x1.b5c198p-1,  0x1.b9efbep-1,
    0x1.be23d4p-1,  0x1.c25ddep-1,  0x1.c69ddcp-1,  0x1.cae3d2p-1,  0x1.cf2fcp-1,   0x1.d381aap-1,
    0x1.d7d994p-1,  0x1.dc377ep-1,  0x1.e09b6ap-1,  0x1.e5055cp-1,  0x1.e97556p-1,  0x1.edeb5cp-1,
    0x1.f2676cp-1,  0x1.f6e98cp-1,  0x1.fb71bcp-1,  0x1p+0};

// Linear-light float -> sRGB byte. Each entry holds a bias (upper 16 bits) and a
// slope (lower 16 bits) for one of 104 segments indexed by the float's exponent and
// top mantissa bits, for values from 2^-13 to just below 1.
inline constexpr uint32_t kLinearToSrgbTable[104] = {
    0x0073000D, 0x007A000D, 0x0080000D, 0x0087000D, 0x008D000D, 0x0094000D, 0x009A000D, 0x00A1000D,
    0x00A7001A, 0x00B4001A, 0x00C1001A, 0x00CE001A, 0x00DA001A, 0x00E7001A, 0x00F4001A, 0x0101001A,
    0x010E0033, 0x01280033, 0x01410033, 0x015B0033, 0x01750033, 0x018F0033, 0x01A80033, 0x01C20033,
    0x01DC0067, 0x020F0067, 0x02430067, 0x02760067, 0x02AA0067, 0x02DD0067, 0x03110067, 0x03440067,
    0x037800CE, 0x03DF00CE, 0x044600CE, 0x04AD00CE, 0x051400CE, 0x057B00C5, 0x05DD00BC, 0x063B00B5,
    0x06970158, 0x07420142, 0x07E30130, 0x087B0120, 0x090B0112, 0x09940106, 0x0A1700FC, 0x0A9500F2,
    0x0B0F01CB, 0x0BF401AE, 0x0CCB0195, 0x0D950180, 0x0E56016E, 0x0F0D015E, 0x0FBC0150, 0x10630143,
    0x11070264, 0x1238023E, 0x1357021D, 0x14660201, 0x156601E9, 0x165A01D3, 0x174401C0, 0x182401AF,
    0x18FE0331, 0x1A9602FE, 0x1C1502D2, 0x1D7E02AD, 0x1ED4028D, 0x201A0270, 0x21520256, 0x227D0240,
    0x239F0443, 0x25C003FE, 0x27BF03C4, 0x29A10392, 0x2B6A0367, 0x2D1D0341, 0x2EBE031F, 0x304D0300,
    0x31D105B0, 0x34A80555, 0x37520507, 0x39D504C5, 0x3C37048B, 0x3E7C0458, 0x40A8042A, 0x42BD0401,
    0x44C20798, 0x488E071E, 0x4C1C06B6, 0x4F76065D, 0x52A50610, 0x55AC05CC, 0x5892058F, 0x5B590559,
    0x5E0C0A23, 0x631C0980, 0x67DB08F6, 0x6C55087F, 0x70940818, 0x74A007BD, 0x787D076C, 0x7C330723,
};

// Encoding clamps to [2^-13, largest float below 1]; these are their bit patterns.
inline constexpr uint32_t kEncodeMinBits = 0x39000000u;
inline constexpr uint32_t kEncodeMaxBits = 0x3F7FFFFFu;

// Initial guess of the cube root: one third of the magnitude bits plus this bias.
inline constexpr uint32_t kCbrtBias = 709958130u;  // 0x2A5119F2

// Linear sRGB -> cone response (M1), by output row.
inline constexpr float kM1[3][3] = {
    {0.412221462f, 0.536332548f, 0.0514459945f},
    {0.211903498f, 0.680699527f, 0.10739696f},
    {0.0883024633f, 0.28171885f, 0.629978716f},
};

// Cube-rooted cone response -> Oklab (M2), magnitudes; the signs are applied as
// subtraction: L = (c00 l + c01 m) - c02 s; a = (c10 l - c11 m) + c12 s;
// b = (c20 l + c21 m) - c22 s.
inline constexpr float kM2[3][3] = {
    {0.210454255f, 0.793617785f, 0.00407204684f},
    {1.9779985f, 2.42859221f, 0.45059371f},
    {0.0259040371f, 0.782771766f, 0.808675766f},
};

// Oklab -> cube-rooted cone response, magnitudes of the a and b coefficients (the L
// coefficient is 1): l' = (L + c00 a) + c01 b; m' = (L - c10 a) - c11 b;
// s' = (L - c20 a) - c21 b.
inline constexpr float kM2Inv[3][2] = {
    {0.396337777f, 0.215803757f},
    {0.105561346f, 0.0638541728f},
    {0.0894841775f, 1.29148555f},
};

// Cone response -> linear sRGB, magnitudes: R = (c00 l - c01 m) + c02 s;
// G = (-c10 l + c11 m) - c12 s; B = (-c20 l - c21 m) + c22 s.
inline constexpr float kM1Inv[3][3] = {
    {4.0767417f, 3.3077116f, 0.230969936f},
    {1.26843798f, 2.60975742f, 0.341319382f},
    {0.00419608643f, 0.703418612f, 1.70761466f},
};

}  // namespace quorvane::quant
