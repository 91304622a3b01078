// assert_report.h -- where the toolkit's failed assertions go in the program: one line on
// standard error each, never a dialog or a signal for the user.
#pragma once

// Installs the handler; the tests install their own, which fails the test instead.
void ReportToolkitAssertionsOnStderr();
