#include "input/key_tables.h"

#include <SDL_keycode.h>
#include <SDL_scancode.h>

namespace rt::keytables {

const std::uint8_t kMainTable[kMainRows][4] = {
//  plain shift  ctrl   alt      set-1  key
    {   0,    0,    0,    0},  //  0
    {   0,    0,    0, 0x01},  //  1  Esc
    {   0,    0,    0, 0x78},  //  2  1
    {   0,    0, 0x03, 0x79},  //  3  2
    {   0,    0,    0, 0x7A},  //  4  3
    {   0,    0,    0, 0x7B},  //  5  4
    {   0,    0,    0, 0x7C},  //  6  5
    {   0,    0,    0, 0x7D},  //  7  6
    {   0,    0,    0, 0x7E},  //  8  7
    {   0,    0,    0, 0x7F},  //  9  8
    {   0,    0,    0, 0x80},  // 10  9
    {   0,    0,    0, 0x81},  // 11  0
    {   0,    0,    0, 0x82},  // 12  minus
    {   0,    0,    0, 0x83},  // 13  equals
    {   0,    0,    0, 0xE0},  // 14  Backspace
    {   0, 0x0F, 0x94, 0x0F},  // 15  Tab
    {   0,    0,    0, 0x10},  // 16  Q
    {   0,    0,    0, 0x11},  // 17  W
    {   0,    0,    0, 0x12},  // 18  E
    {   0,    0,    0, 0x13},  // 19  R
    {   0,    0,    0, 0x14},  // 20  T
    {   0,    0,    0, 0x15},  // 21  Y
    {   0,    0,    0, 0x16},  // 22  U
    {   0,    0,    0, 0x17},  // 23  I
    {   0,    0,    0, 0x18},  // 24  O
    {   0,    0,    0, 0x19},  // 25  P
    {   0,    0,    0, 0x1A},  // 26  [
    {   0,    0,    0, 0x1B},  // 27  ]
    {   0,    0,    0, 0x1C},  // 28  Enter
    {   0,    0,    0,    0},  // 29  Ctrl
    {   0,    0,    0, 0x1E},  // 30  A
    {   0,    0,    0, 0x1F},  // 31  S
    {   0,    0,    0, 0x20},  // 32  D
    {   0,    0,    0, 0x21},  // 33  F
    {   0,    0,    0, 0x22},  // 34  G
    {   0,    0,    0, 0x23},  // 35  H
    {   0,    0,    0, 0x24},  // 36  J
    {   0,    0,    0, 0x25},  // 37  K
    {   0,    0,    0, 0x26},  // 38  L
    {   0,    0,    0, 0x27},  // 39  semicolon
    {   0,    0,    0, 0x28},  // 40  apostrophe
    {   0,    0,    0, 0x29},  // 41  grave
    {   0,    0,    0,    0},  // 42  left Shift
    {   0,    0,    0,    0},  // 43  backslash
    {   0,    0,    0, 0x2C},  // 44  Z
    {   0,    0,    0, 0x2D},  // 45  X
    {   0,    0,    0, 0x2E},  // 46  C
    {   0,    0,    0, 0x2F},  // 47  V
    {   0,    0,    0, 0x30},  // 48  B
    {   0,    0,    0, 0x31},  // 49  N
    {   0,    0,    0, 0x32},  // 50  M
    {   0,    0,    0, 0x33},  // 51  comma
    {   0,    0,    0, 0x34},  // 52  period
    {   0,    0,    0, 0x35},  // 53  slash
    {   0,    0,    0,    0},  // 54  right Shift
    {   0,    0,    0,    0},  // 55  keypad *
    {   0,    0,    0,    0},  // 56  Alt
    {   0,    0,    0,    0},  // 57  Space
    {   0,    0,    0,    0},  // 58  Caps Lock
    {0x3B, 0x54, 0x5E, 0x68},  // 59  F1
    {0x3C, 0x55, 0x5F, 0x69},  // 60  F2
    {0x3D, 0x56, 0x60, 0x6A},  // 61  F3
    {0x3E, 0x57, 0x61, 0x6B},  // 62  F4
    {0x3F, 0x58, 0x62, 0x6C},  // 63  F5
    {0x40, 0x59, 0x63, 0x6D},  // 64  F6
    {0x41, 0x5A, 0x64, 0x6E},  // 65  F7
    {0x42, 0x5B, 0x65, 0x6F},  // 66  F8
    {0x43, 0x5C, 0x66, 0x70},  // 67  F9
    {0x44, 0x5D, 0x67, 0x71},  // 68  F10
    {   0,    0,    0,    0},  // 69  Num Lock
    {   0,    0,    0,    0},  // 70  Scroll Lock
    {0x47,    0, 0x77,    0},  // 71  Home
    {0x48,    0, 0x8D,    0},  // 72  Up
    {0x49,    0, 0x84,    0},  // 73  Page Up
    {   0,    0,    0,    0},  // 74  keypad -
    {0x4B,    0, 0x73,    0},  // 75  Left
    {0x4C,    0, 0x8F, 0x4C},  // 76  keypad 5
    {0x4D,    0, 0x74,    0},  // 77  Right
    {   0,    0,    0,    0},  // 78  keypad +
    {0x4F,    0, 0x75,    0},  // 79  End
    {0x50,    0, 0x91,    0},  // 80  Down
    {0x51,    0, 0x76,    0},  // 81  Page Down
    {0x52,    0, 0x92,    0},  // 82  Insert
    {0x53,    0, 0x93,    0},  // 83  Delete
    {   0,    0,    0,    0},  // 84
    {   0,    0,    0,    0},  // 85
    {   0,    0,    0,    0},  // 86
    {0x85, 0x87, 0x89, 0x8B},  // 87  F11
    {0x86, 0x88, 0x8A, 0x8C},  // 88  F12
};

namespace {

constexpr ExtendedRow kExtended[] = {
    // set-1  plain   shift   ctrl    alt        key
    {28, {0x000D, 0x000D, 0x000A, 0xA600}},  // keypad Enter
    {53, {0x002F, 0x003F, 0x9500, 0xA400}},  // keypad /
    {71, {0x4700, 0x4700, 0x7700, 0x9700}},  // Home
    {72, {0x4800, 0x4800, 0x8D00, 0x9800}},  // Up
    {73, {0x4900, 0x4900, 0x8400, 0x9900}},  // Page Up
    {75, {0x4B00, 0x4B00, 0x7300, 0x9B00}},  // Left
    {77, {0x4D00, 0x4D00, 0x7400, 0x9D00}},  // Right
    {79, {0x4F00, 0x4F00, 0x7500, 0x9F00}},  // End
    {80, {0x5000, 0x5000, 0x9100, 0xA000}},  // Down
    {81, {0x5100, 0x5100, 0x7600, 0xA100}},  // Page Down
    {82, {0x5200, 0x5200, 0x9200, 0xA200}},  // Insert
    {83, {0x5300, 0x5300, 0x9300, 0xA300}},  // Delete
};

constexpr Set1Row kSet1[] = {
    // SDL scancode                 set-1  extended
    {SDL_SCANCODE_ESCAPE,             1, false},
    {SDL_SCANCODE_1,                  2, false},
    {SDL_SCANCODE_2,                  3, false},
    {SDL_SCANCODE_3,                  4, false},
    {SDL_SCANCODE_4,                  5, false},
    {SDL_SCANCODE_5,                  6, false},
    {SDL_SCANCODE_6,                  7, false},
    {SDL_SCANCODE_7,                  8, false},
    {SDL_SCANCODE_8,                  9, false},
    {SDL_SCANCODE_9,                 10, false},
    {SDL_SCANCODE_0,                 11, false},
    {SDL_SCANCODE_MINUS,             12, false},
    {SDL_SCANCODE_EQUALS,            13, false},
    {SDL_SCANCODE_BACKSPACE,         14, false},
    {SDL_SCANCODE_TAB,               15, false},
    {SDL_SCANCODE_Q,                 16, false},
    {SDL_SCANCODE_W,                 17, false},
    {SDL_SCANCODE_E,                 18, false},
    {SDL_SCANCODE_R,                 19, false},
    {SDL_SCANCODE_T,                 20, false},
    {SDL_SCANCODE_Y,                 21, false},
    {SDL_SCANCODE_U,                 22, false},
    {SDL_SCANCODE_I,                 23, false},
    {SDL_SCANCODE_O,                 24, false},
    {SDL_SCANCODE_P,                 25, false},
    {SDL_SCANCODE_LEFTBRACKET,       26, false},
    {SDL_SCANCODE_RIGHTBRACKET,      27, false},
    {SDL_SCANCODE_RETURN,            28, false},
    {SDL_SCANCODE_LCTRL,             29, false},
    {SDL_SCANCODE_A,                 30, false},
    {SDL_SCANCODE_S,                 31, false},
    {SDL_SCANCODE_D,                 32, false},
    {SDL_SCANCODE_F,                 33, false},
    {SDL_SCANCODE_G,                 34, false},
    {SDL_SCANCODE_H,                 35, false},
    {SDL_SCANCODE_J,                 36, false},
    {SDL_SCANCODE_K,                 37, false},
    {SDL_SCANCODE_L,                 38, false},
    {SDL_SCANCODE_SEMICOLON,         39, false},
    {SDL_SCANCODE_APOSTROPHE,        40, false},
    {SDL_SCANCODE_GRAVE,             41, false},
    {SDL_SCANCODE_LSHIFT,            42, false},
    {SDL_SCANCODE_BACKSLASH,         43, false},
    {SDL_SCANCODE_NONUSHASH,         43, false},
    {SDL_SCANCODE_Z,                 44, false},
    {SDL_SCANCODE_X,                 45, false},
    {SDL_SCANCODE_C,                 46, false},
    {SDL_SCANCODE_V,                 47, false},
    {SDL_SCANCODE_B,                 48, false},
    {SDL_SCANCODE_N,                 49, false},
    {SDL_SCANCODE_M,                 50, false},
    {SDL_SCANCODE_COMMA,             51, false},
    {SDL_SCANCODE_PERIOD,            52, false},
    {SDL_SCANCODE_SLASH,             53, false},
    {SDL_SCANCODE_RSHIFT,            54, false},
    {SDL_SCANCODE_KP_MULTIPLY,       55, false},
    {SDL_SCANCODE_LALT,              56, false},
    {SDL_SCANCODE_SPACE,             57, false},
    {SDL_SCANCODE_CAPSLOCK,          58, false},
    {SDL_SCANCODE_F1,                59, false},
    {SDL_SCANCODE_F2,                60, false},
    {SDL_SCANCODE_F3,                61, false},
    {SDL_SCANCODE_F4,                62, false},
    {SDL_SCANCODE_F5,                63, false},
    {SDL_SCANCODE_F6,                64, false},
    {SDL_SCANCODE_F7,                65, false},
    {SDL_SCANCODE_F8,                66, false},
    {SDL_SCANCODE_F9,                67, false},
    {SDL_SCANCODE_F10,               68, false},
    {SDL_SCANCODE_NUMLOCKCLEAR,      69, false},
    {SDL_SCANCODE_SCROLLLOCK,        70, false},
    {SDL_SCANCODE_KP_7,              71, false},
    {SDL_SCANCODE_KP_8,              72, false},
    {SDL_SCANCODE_KP_9,              73, false},
    {SDL_SCANCODE_KP_MINUS,          74, false},
    {SDL_SCANCODE_KP_4,              75, false},
    {SDL_SCANCODE_KP_5,              76, false},
    {SDL_SCANCODE_KP_6,              77, false},
    {SDL_SCANCODE_KP_PLUS,           78, false},
    {SDL_SCANCODE_KP_1,              79, false},
    {SDL_SCANCODE_KP_2,              80, false},
    {SDL_SCANCODE_KP_3,              81, false},
    {SDL_SCANCODE_KP_0,              82, false},
    {SDL_SCANCODE_KP_PERIOD,         83, false},
    {SDL_SCANCODE_NONUSBACKSLASH,    86, false},
    {SDL_SCANCODE_F11,               87, false},
    {SDL_SCANCODE_F12,               88, false},
    {SDL_SCANCODE_KP_ENTER,          28, true},
    {SDL_SCANCODE_RCTRL,             29, true},
    {SDL_SCANCODE_KP_DIVIDE,         53, true},
    {SDL_SCANCODE_PRINTSCREEN,       55, true},
    {SDL_SCANCODE_RALT,              56, true},
    {SDL_SCANCODE_MODE,              56, true},
    {SDL_SCANCODE_HOME,              71, true},
    {SDL_SCANCODE_UP,                72, true},
    {SDL_SCANCODE_PAGEUP,            73, true},
    {SDL_SCANCODE_LEFT,              75, true},
    {SDL_SCANCODE_RIGHT,             77, true},
    {SDL_SCANCODE_END,               79, true},
    {SDL_SCANCODE_DOWN,              80, true},
    {SDL_SCANCODE_PAGEDOWN,          81, true},
    {SDL_SCANCODE_INSERT,            82, true},
    {SDL_SCANCODE_DELETE,            83, true},
    {SDL_SCANCODE_LGUI,              91, true},
    {SDL_SCANCODE_RGUI,              92, true},
    {SDL_SCANCODE_APPLICATION,       93, true},
};

constexpr KeyStateRow kKeyState[] = {
    // set-1  source             first                        second
    { 1, Source::kPhysical, SDL_SCANCODE_ESCAPE,         0},
    { 2, Source::kPhysical, SDL_SCANCODE_1,              0},
    { 3, Source::kPhysical, SDL_SCANCODE_2,              0},
    { 4, Source::kPhysical, SDL_SCANCODE_3,              0},
    { 5, Source::kPhysical, SDL_SCANCODE_4,              0},
    { 6, Source::kPhysical, SDL_SCANCODE_5,              0},
    { 7, Source::kPhysical, SDL_SCANCODE_6,              0},
    { 8, Source::kPhysical, SDL_SCANCODE_7,              0},
    { 9, Source::kPhysical, SDL_SCANCODE_8,              0},
    {10, Source::kPhysical, SDL_SCANCODE_9,              0},
    {11, Source::kPhysical, SDL_SCANCODE_0,              0},
    {12, Source::kPhysical, SDL_SCANCODE_MINUS,          SDL_SCANCODE_KP_MINUS},
    {13, Source::kPhysical, SDL_SCANCODE_EQUALS,         0},
    {14, Source::kPhysical, SDL_SCANCODE_BACKSPACE,      0},
    {15, Source::kPhysical, SDL_SCANCODE_TAB,            0},
    {16, Source::kLayout,   SDLK_q,                      0},
    {17, Source::kLayout,   SDLK_w,                      0},
    {18, Source::kLayout,   SDLK_e,                      0},
    {19, Source::kLayout,   SDLK_r,                      0},
    {20, Source::kLayout,   SDLK_t,                      0},
    {21, Source::kLayout,   SDLK_y,                      0},
    {22, Source::kLayout,   SDLK_u,                      0},
    {23, Source::kLayout,   SDLK_i,                      0},
    {24, Source::kLayout,   SDLK_o,                      0},
    {25, Source::kLayout,   SDLK_p,                      0},
    {26, Source::kPhysical, SDL_SCANCODE_LEFTBRACKET,    0},
    {27, Source::kPhysical, SDL_SCANCODE_RIGHTBRACKET,   0},
    {28, Source::kPhysical, SDL_SCANCODE_RETURN,         SDL_SCANCODE_KP_ENTER},
    {29, Source::kPhysical, SDL_SCANCODE_LCTRL,          SDL_SCANCODE_RCTRL},
    {30, Source::kLayout,   SDLK_a,                      0},
    {31, Source::kLayout,   SDLK_s,                      0},
    {32, Source::kLayout,   SDLK_d,                      0},
    {33, Source::kLayout,   SDLK_f,                      0},
    {34, Source::kLayout,   SDLK_g,                      0},
    {35, Source::kLayout,   SDLK_h,                      0},
    {36, Source::kLayout,   SDLK_j,                      0},
    {37, Source::kLayout,   SDLK_k,                      0},
    {38, Source::kLayout,   SDLK_l,                      0},
    {39, Source::kPhysical, SDL_SCANCODE_SEMICOLON,      0},
    {40, Source::kPhysical, SDL_SCANCODE_APOSTROPHE,     0},
    {41, Source::kPhysical, SDL_SCANCODE_GRAVE,          0},
    {42, Source::kPhysical, SDL_SCANCODE_LSHIFT,         SDL_SCANCODE_RSHIFT},
    {43, Source::kPhysical, SDL_SCANCODE_BACKSLASH,      SDL_SCANCODE_NONUSHASH},
    {44, Source::kLayout,   SDLK_z,                      0},
    {45, Source::kLayout,   SDLK_x,                      0},
    {46, Source::kLayout,   SDLK_c,                      0},
    {47, Source::kLayout,   SDLK_v,                      0},
    {48, Source::kLayout,   SDLK_b,                      0},
    {49, Source::kLayout,   SDLK_n,                      0},
    {50, Source::kLayout,   SDLK_m,                      0},
    {51, Source::kPhysical, SDL_SCANCODE_COMMA,          0},
    {52, Source::kPhysical, SDL_SCANCODE_PERIOD,         0},
    {53, Source::kPhysical, SDL_SCANCODE_SLASH,          SDL_SCANCODE_KP_DIVIDE},
    {54, Source::kPhysical, SDL_SCANCODE_LSHIFT,         SDL_SCANCODE_RSHIFT},
    {55, Source::kPhysical, SDL_SCANCODE_KP_MULTIPLY,    0},
    {56, Source::kPhysical, SDL_SCANCODE_LALT,           SDL_SCANCODE_RALT},
    {57, Source::kPhysical, SDL_SCANCODE_SPACE,          0},
    {58, Source::kPhysical, SDL_SCANCODE_CAPSLOCK,       0},
    {59, Source::kPhysical, SDL_SCANCODE_F1,             0},
    {60, Source::kPhysical, SDL_SCANCODE_F2,             0},
    {61, Source::kPhysical, SDL_SCANCODE_F3,             0},
    {62, Source::kPhysical, SDL_SCANCODE_F4,             0},
    {63, Source::kPhysical, SDL_SCANCODE_F5,             0},
    {64, Source::kPhysical, SDL_SCANCODE_F6,             0},
    {65, Source::kPhysical, SDL_SCANCODE_F7,             0},
    {66, Source::kPhysical, SDL_SCANCODE_F8,             0},
    {67, Source::kPhysical, SDL_SCANCODE_F9,             0},
    {68, Source::kPhysical, SDL_SCANCODE_F10,            0},
    {69, Source::kPhysical, SDL_SCANCODE_NUMLOCKCLEAR,   0},
    {70, Source::kPhysical, SDL_SCANCODE_SCROLLLOCK,     0},
    {71, Source::kPhysical, SDL_SCANCODE_HOME,           SDL_SCANCODE_KP_7},
    {72, Source::kPhysical, SDL_SCANCODE_UP,             SDL_SCANCODE_KP_8},
    {73, Source::kPhysical, SDL_SCANCODE_PAGEUP,         SDL_SCANCODE_KP_9},
    {75, Source::kPhysical, SDL_SCANCODE_LEFT,           SDL_SCANCODE_KP_4},
    {77, Source::kPhysical, SDL_SCANCODE_RIGHT,          SDL_SCANCODE_KP_6},
    {78, Source::kPhysical, SDL_SCANCODE_KP_PLUS,        0},
    {79, Source::kPhysical, SDL_SCANCODE_END,            SDL_SCANCODE_KP_1},
    {80, Source::kPhysical, SDL_SCANCODE_DOWN,           SDL_SCANCODE_KP_2},
    {81, Source::kPhysical, SDL_SCANCODE_PAGEDOWN,       SDL_SCANCODE_KP_3},
    {82, Source::kPhysical, SDL_SCANCODE_INSERT,         SDL_SCANCODE_KP_0},
    {83, Source::kPhysical, SDL_SCANCODE_DELETE,         SDL_SCANCODE_KP_PERIOD},
    {87, Source::kPhysical, SDL_SCANCODE_F11,            0},
    {88, Source::kPhysical, SDL_SCANCODE_F12,            0},
    {91, Source::kPhysical, SDL_SCANCODE_LGUI,           0},
    {92, Source::kPhysical, SDL_SCANCODE_RGUI,           0},
    {93, Source::kPhysical, SDL_SCANCODE_APPLICATION,    0},
};

}  // namespace

std::span<const ExtendedRow> ExtendedTable() { return kExtended; }
std::span<const Set1Row> Set1Table() { return kSet1; }
std::span<const KeyStateRow> KeyStateTable() { return kKeyState; }

}  // namespace rt::keytables
