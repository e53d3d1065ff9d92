#pragma once
// The fixed texts of the training commands, as the user sees them.
#include <cstdint>
#include <string>

inline constexpr const char* kGuessedText = "Вы угадали ход";
inline constexpr const char* kNotGuessedText = "Вы не угадали ход. Задание не решено";
inline constexpr const char* kSolvedText = "Вариант разыгран. Поздравляем";
inline constexpr const char* kTimeOutText = "Вы не успели решить задание за заданное время";
inline constexpr const char* kNoTaskText = "Задание еще не определено";
inline constexpr const char* kReadErrorText = "Ошибка при чтении данных!";
// A drop the move rules refuse.
inline constexpr const char* kMoveImpossibleText = "Данный ход не возможен";
// A solution token that cannot be read, in the check of a move or in a
// playback step.
inline constexpr const char* kOperationImpossibleText = "Данная операция сейчас не возможна";

// The results notice: "Количество попыток <attempts>. Результат <solved>."
std::string ResultsText(int32_t attemptCount, int32_t solvedCount);
