#pragma once
// The two commands of the menu "Интересное" that show a random entry of a
// quote table in a plain notice.
//
// Each call re-seeds `random` once, draws one entry uniformly from the whole
// table, loads it into a fresh table object and shows the message through
// `boxes.Notice`. Nothing is kept between calls; the same entry
// may come twice in a row.
class MessageBoxes;
class RandomSource;

// "Шахматные цитаты": quote, blank, continuation, blank, author.
void ShowChessQuote(RandomSource& random, MessageBoxes& boxes);

// "Шахматная цитата от Гулмара": comment, blank, continuation.
void ShowGulmarComment(RandomSource& random, MessageBoxes& boxes);
