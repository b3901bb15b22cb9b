// The texts the window writes and where. Status texts share one place and end in
// blanks that paint out the tail of a longer text written there before.
#pragma once

constexpr int kStatusX = 400, kStatusY = 300;
constexpr int kCounterX = 200, kCounterY = 2;
constexpr int kResultX = 200, kResultY = 300;
constexpr int kStepNumberX = 15, kStepNumberY = 370;

inline constexpr const char* kTextContinueSolving = "Continue Solving Puzzle...          ";
inline constexpr const char* kTextChooseShowSolution = "Choose Show Solution for Results    ";
inline constexpr const char* kTextSolving = "Solving...                           ";
inline constexpr const char* kTextShowingSolution = "Showing Solution...               ";
inline constexpr const char* kTextSearchStopped = "Solution Search Stopped           ";
inline constexpr const char* kTextDisplayStopped = "Solution Display Stopped      ";
inline constexpr const char* kTextSolved = "Puzzle Solved!             ";
inline constexpr const char* kFormatSteps = "Number of steps = %d";
// The counter restarts after Reset and the step number goes down as well as up: the
// blanks paint out digits a larger number left behind.
inline constexpr const char* kFormatExpanded = "Num = %d     ";
inline constexpr const char* kFormatStepNumber = "Solution Step Number %d          ";

inline constexpr const char* kTextFileSaved = "Solution File Was Saved.           ";
inline constexpr const char* kTextFileNotSaved = "Solution File could not be Saved    ";
inline constexpr const char* kTextFileRetrieved = "Solution File  retrieved   ";
inline constexpr const char* kTextFileNotRetrieved = "Solution File could not be retrieved";
