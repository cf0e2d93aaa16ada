// The image strips of the account dialogs: 16x16 cells, magenta transparent.
#pragma once

namespace setupmgr {

inline constexpr char kAccountImages[] = ":/ostrel/account/account_images.png";     // 21004
inline constexpr char kAuthorityImages[] = ":/ostrel/account/authority_images.png"; // 21007

// Indexes into kAccountImages.
enum AccountImage {
    kImageRoot = 0,
    kImageUser = 1,
    kImageGroup = 2,
    kImageFolder = 3,
    kImageOpenFolder = 4
};
// Indexes into kAuthorityImages.
enum AuthorityImage {
    kAuthImageRoot = 0,
    kAuthImageCategory = 1,
    kAuthImageItem = 2,
    kAuthImageUser = 3,
    kAuthImageGroup = 4
};

} // namespace setupmgr
