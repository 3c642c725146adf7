// The three removal actions and the bookkeeping of every success.
#pragma once
#include <string>

void add_point();
// Writes point into the counter label 标签2.
void show_point();
// Logs the message, counts one removal and shows the new total.
void report_removal(const std::string& message);
