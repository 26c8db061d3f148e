#pragma once

// A widget's persisted settings, owned by the host window. Keys compare without
// regard to case; a reader passes the default it wants for a missing key, and a
// writer passes the same default so that a value equal to it is not stored.

#include <QString>
#include <QStringList>
#include <QVariant>

#include <map>
#include <utility>

class PropertyBag {
public:
    QVariant ReadProperty(const QString &key, const QVariant &defaultValue = QVariant()) const
    {
        const auto it = entries_.find(key.toCaseFolded());
        return it == entries_.end() ? defaultValue : it->second.second;
    }

    void WriteProperty(const QString &key, const QVariant &value, const QVariant &defaultValue = QVariant())
    {
        const QString folded = key.toCaseFolded();
        if (defaultValue.isValid() && value == defaultValue) {
            entries_.erase(folded);
            return;
        }
        entries_[folded] = {key, value};
    }

    bool contains(const QString &key) const { return entries_.count(key.toCaseFolded()) != 0; }
    int size() const { return static_cast<int>(entries_.size()); }
    bool isEmpty() const { return entries_.empty(); }
    void clear() { entries_.clear(); }

    // Keys as they were written, for a host that stores the bag.
    QStringList keys() const
    {
        QStringList result;
        for (const auto &entry : entries_)
            result << entry.second.first;
        return result;
    }

private:
    std::map<QString, std::pair<QString, QVariant>> entries_;
};
