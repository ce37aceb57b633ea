#pragma once
// Resource numbers of the runtime tests' pictures (read by the resource compiler too).
#define PF_TEST_BITMAP 900
#define PF_TEST_JPEG 901
