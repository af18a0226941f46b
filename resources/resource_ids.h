// Ids of the window's resources and of the texts of the language libraries.
#pragma once

#define IDD_CALIBRATION 102
#define IDC_ACCEPT 132
#define IDC_RETRY 133
#define IDI_TARNIX 132
#define IDB_ACCEPT 133
#define IDB_RETRY 134

#define IDS_NO_TOUCH_SCREEN 130
#define IDS_NO_TOUCH_SCREEN_CAPTION 131
#define IDS_ACCEPT_CAPTION 132
#define IDS_RETRY_CAPTION 133
#define IDS_INSTRUCTION 197
#define IDS_FIT_DONE 198
#define IDS_FIT_EXPECTED 199
#define IDS_FIT_TOUCH_FIGURES 200
#define IDS_COUNTDOWN 428
#define IDS_ACCEPT 431
#define IDS_RETRY 432
#define IDS_GRID_TOO_SMALL 452
#define IDS_REFUSED_KEPT 460
#define IDS_REFUSED_FIT_FAILED 461
#define IDS_REFUSED_OUT_OF_RANGE 462
#define IDS_REFUSED_RANK 463
#define IDS_REFUSED_OVERFLOW 464
#define IDS_REFUSED_RESIDUAL 465
#define IDS_REFUSED_SCATTER 466
#define IDS_REFUSED_EXPECTED 467
#define IDS_REFUSED_UNEXPECTED 469
#define IDS_MISCLICK_HINT 470
#define IDS_ASK_AGAIN 471
#define IDS_CHECK_TOUCH 472
#define IDS_CHECK_AGAIN 473
#define IDS_CHECKED_AT 474
#define IDS_LIST_AND 475
// The touches near a place disagree: 480 + PlaceOnArea (top-left corner 480 .. bottom-right 488).
#define IDS_REFUSED_DISAGREE_FIRST 480
#define IDS_DRIFT 490
#define IDS_DRIFT_WARNING 491
#define IDS_FIT_DONE_UNTIL_LEFT 492
#define IDS_FIT_DONE_NO_PREVIOUS 493
#define IDS_PREVIOUS_PUT_BACK 494
#define IDS_GLASS_FROM_FILE 495
#define IDS_SCREEN_MOVED 496
#define IDS_SCREEN_FIRST_AMONG_AREAS 497
// A check touch missed near a place: 500 + PlaceOnArea (top-left corner 500 .. bottom-right 508).
#define IDS_REFUSED_CHECK_FIRST 500
// The verification screen: its instruction, its buttons, its verdict, the lines of a screen it
// cannot verify (the screen's number for "%s") and its title.
#define IDS_VERIFY_INSTRUCTION 510
#define IDS_VERIFY_CALIBRATE 511
#define IDS_VERIFY_CLOSE 512
#define IDS_VERIFIED_WITHIN 513
#define IDS_VERIFIED_NOT_WITHIN 514
#define IDS_VERIFY_NO_CALIBRATION 515
#define IDS_VERIFY_NO_GLASS_SIZE 516
#define IDS_VERIFY_NO_ROOM 517
#define IDS_VERIFY_TITLE 518
