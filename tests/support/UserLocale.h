#pragma once

// Makes a locale the user's for one test and puts the previous one back.

#include <QLocale>

class UserLocale {
public:
    explicit UserLocale(const QLocale &locale) { QLocale::setDefault(locale); }
    ~UserLocale() { QLocale::setDefault(saved_); }
    UserLocale(const UserLocale &) = delete;
    UserLocale &operator=(const UserLocale &) = delete;

private:
    QLocale saved_;
};
