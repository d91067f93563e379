// The table of the extended-precision sin and cos: the quarter wave, each value rounded once
// from a 113-bit computation, unfolded into the whole wave at compile time.
#include "generator/ExtendedMath.h"

namespace Rosacle::Detail {

namespace {

// sin(2 pi j / 512) for j = 0 .. 128.
constexpr Extended QuarterSine[129] = {
    0x0p+0L, 0xc.90e8fe6f63c2331p-10L, 0xc.90aafbd1b33efcap-9L,
    0x9.6c32baca2ae68b4p-8L, 0xc.8fb2f886ec09f37p-8L, 0xf.b2b73cfc106ff69p-8L,
    0x9.6a9049670cfae66p-7L, 0xa.fb68054d520c60cp-7L, 0xc.8bd35e14da15f0fp-7L,
    0xe.1bc2e3cf616a7acp-7L, 0xf.ab272b54b9871a2p-7L, 0x8.9cf8676d7abb55cp-6L,
    0x9.64083747309d113p-6L, 0xa.2abb58949f2ced8p-6L, 0xa.f10a22459fe32a6p-6L,
    0xb.b6ecef285f98a3bp-6L, 0xc.7c5c1e34d3055b2p-6L, 0xd.415012d802284f1p-6L,
    0xe.05c1353f27b17e5p-6L, 0xe.c9a7f2a2a188aebp-6L, 0xf.8cfcbd90af8d57ap-6L,
    0x8.27dc071bfed6ffbp-5L, 0x8.88e93158fb3bb05p-5L, 0x8.e9a21fa66d9ee8ep-5L,
    0x9.4a03176acf82d46p-5L, 0x9.aa086170c0a8d87p-5L, 0xa.09ae4a0bb300a19p-5L,
    0xa.68f1213c73b5124p-5L, 0xa.c7cd3ad58fee7f1p-5L, 0xb.263eee9f93e3088p-5L,
    0xb.8442987d22cf577p-5L, 0xb.e1d4988ee67380dp-5L, 0xc.3ef1535754b168dp-5L,
    0xc.9b9531de49eb968p-5L, 0xc.f7bca1d476c516ep-5L, 0xd.536415b69fe4c54p-5L,
    0xd.ae8804f0ae6015bp-5L, 0xe.0924ec008f734fep-5L, 0xe.63374c98e22f0b4p-5L,
    0xe.bcbbadc371c4aaap-5L, 0xf.15ae9c037b1d8fp-5L, 0xf.6e0ca977bc6ac46p-5L,
    0xf.c5d26dfc4d5cfdap-5L, 0x8.0e7e43a61f5b6cbp-4L, 0x8.39c3cc917ff6cb5p-4L,
    0x8.64b826aec4c74e6p-4L, 0x8.8f59aa0da591422p-4L, 0x8.b9a6b1ef6da4502p-4L,
    0x8.e39d9cd73464365p-4L, 0x9.0d3ccc99f5ac58bp-4L, 0x9.3682a66e896f545p-4L,
    0x9.5f6d92fd79f4fbbp-4L, 0x9.87fbfe70b81a708p-4L, 0x9.b02c58832cf95cp-4L,
    0x9.d7fd1490285c9e4p-4L, 0x9.ff6ca9a2ab6a26dp-4L, 0xa.267992848eeb0cp-4L,
    0xa.4d224dcd849c5bp-4L, 0xa.73655df1f2f489ep-4L, 0xa.99414951aacae5fp-4L,
    0xa.beb49a46764fd15p-4L, 0xa.e3bddf3280c620dp-4L, 0xb.085baa8e966f6dbp-4L,
    0xb.2c8c92f83c1eb88p-4L, 0xb.504f333f9de6484p-4L, 0xb.73a22a755457448p-4L,
    0xb.96841bf7ffcb21bp-4L, 0xb.b8f3af81b93095dp-4L, 0xb.daef913557d76f1p-4L,
    0xb.fc7671ab8bb84c7p-4L, 0xc.1d8705ffcbb6e91p-4L, 0xc.3e2007dd175f5a5p-4L,
    0xc.5e40358a8ba05a7p-4L, 0xc.7de651f7ca06749p-4L, 0xc.9d1124c931fda7bp-4L,
    0xc.bbbf7a63eba0dd5p-4L, 0xc.d9f023f9c3a059ep-4L, 0xc.f7a1f794d7ca1b2p-4L,
    0xd.14d3d02313c0eedp-4L, 0xd.31848d817d70e17p-4L, 0xd.4db3148750d181ap-4L,
    0xd.695e4f10ea8857p-4L, 0xd.84852c0a80ffcdbp-4L, 0xd.9f269f7aab88c29p-4L,
    0xd.b941a28cb71ec87p-4L, 0xd.d2d5339ac8692fdp-4L, 0xd.ebe05637ca94cfbp-4L,
    0xe.046213392aa486cp-4L, 0xe.1c5978c05ed8692p-4L, 0xe.33c59a4439cd8ecp-4L,
    0xe.4aa5909a08fa7b4p-4L, 0xe.60f879fe7e2e1e5p-4L, 0xe.76bd7a1e63b9786p-4L,
    0xe.8bf3ba1f1aedfbcp-4L, 0xe.a09a68a6e49cd62p-4L, 0xe.b4b0b9e4f345617p-4L,
    0xe.c835e79946a3145p-4L, 0xe.db29311c504d652p-4L, 0xe.ed89db66611e308p-4L,
    0xe.ff573116df1555dp-4L, 0xf.1090827b43725fdp-4L, 0xf.21352595e0bf351p-4L,
    0xf.314476247088f75p-4L, 0xf.40bdd5a6688662fp-4L, 0xf.4fa0ab6316ed2ecp-4L,
    0xf.5dec646f85ba1c7p-4L, 0xf.6ba073b424b19e8p-4L, 0xf.78bc51f239e12c6p-4L,
    0xf.853f7dc9186b953p-4L, 0xf.91297bbb1d6cdbep-4L, 0xf.9c79d63272c4628p-4L,
    0xf.a7301d859796671p-4L, 0xf.b14be7fbae58156p-4L, 0xf.baccd1d0903bb0ap-4L,
    0xf.c3b27d38a5d49abp-4L, 0xf.cbfc926484cd43bp-4L, 0xf.d3aabf84528b50cp-4L,
    0xf.dabcb8caeba091cp-4L, 0xf.e1323870cfe9a3ep-4L, 0xf.e70afeb6d33d6a2p-4L,
    0xf.ec46d1e89292cfp-4L, 0xf.f0e57e5ead848d1p-4L, 0xf.f4e6d680c41d0a9p-4L,
    0xf.f84ab2c738d6a03p-4L, 0xf.fb10f1bcb6bef1dp-4L, 0xf.fd3977ff7bae4e9p-4L,
    0xf.fec4304266865d9p-4L, 0xf.ffb10b4dc96dabcp-4L, 0x8p-3L};

constexpr SineTable Unfold()
{
    SineTable table{};
    for (int j = 0; j < 640; ++j) {
        const int q = (j / 128) % 4, i = j % 128;
        const Extended v = q == 0 ? QuarterSine[i] : q == 1 ? QuarterSine[128 - i] : q == 2 ? -QuarterSine[i] : -QuarterSine[128 - i];
        table.Value[j] = v;
    }
    return table;
}

} // namespace

// The full wave and a further quarter, so that the cosine of entry j is entry j + 128.
constexpr SineTable Sine = Unfold();

} // namespace Rosacle::Detail
