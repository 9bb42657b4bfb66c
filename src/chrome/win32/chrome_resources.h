#pragma once

// Resource identifiers of the generated artwork (see artwork/make_artwork.py). Plain defines, so
// the resource compiler can read this file too. Each bitmap has a double-size version (_2X) for
// high-DPI screens.

// The program icon has the lowest icon id, so the shell shows it for Norv.exe.
#define IDI_NORV_PROGRAM 1
#define IDI_NORV_RESTORE 2

#define IDC_NORV_HAND 100

#define IDB_NORV_TEXTURE 200
#define IDB_NORV_TEXTURE_2X 201
#define IDB_NORV_FACE_RELEASED 202
#define IDB_NORV_FACE_RELEASED_2X 203
#define IDB_NORV_FACE_PRESSED 204
#define IDB_NORV_FACE_PRESSED_2X 205
#define IDB_NORV_TITLE_PLATE 206
#define IDB_NORV_TITLE_PLATE_2X 207
#define IDB_NORV_CHECK_OFF 208
#define IDB_NORV_CHECK_OFF_2X 209
#define IDB_NORV_CHECK_ON 210
#define IDB_NORV_CHECK_ON_2X 211
