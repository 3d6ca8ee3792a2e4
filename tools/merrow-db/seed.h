#pragma once

#include <QString>

#include <functional>

// Fills a new database with a decade of a busy shop's data, reproducibly.
struct SeedOptions
{
    double scale = 1; // 1 ≈ 1,000 customers; 1000 ≈ 1,000,000
    quint64 seed = 20081; // same seed, same data
    int years = 10; // history ending today
};

// Creates `path` (refusing an existing file) and fills it. `progress` gets a stage name and
// a fraction done. Returns an empty text on success, else the reason.
QString seedDatabase(const QString &path,
                     const SeedOptions &options,
                     const std::function<void(const QString &stage, double done)> &progress);
