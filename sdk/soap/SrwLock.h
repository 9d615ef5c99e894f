// Scoped holds of a slim reader/writer lock: shared for readers, exclusive for writers.
#pragma once

#include <windows.h>

class CReadLock {
public:
    explicit CReadLock(SRWLOCK& lock) : m_lock(lock) { ::AcquireSRWLockShared(&m_lock); }
    ~CReadLock() { ::ReleaseSRWLockShared(&m_lock); }
    CReadLock(const CReadLock&) = delete;
    CReadLock& operator=(const CReadLock&) = delete;

private:
    SRWLOCK& m_lock;
};

class CWriteLock {
public:
    explicit CWriteLock(SRWLOCK& lock) : m_lock(lock) { ::AcquireSRWLockExclusive(&m_lock); }
    ~CWriteLock() { ::ReleaseSRWLockExclusive(&m_lock); }
    CWriteLock(const CWriteLock&) = delete;
    CWriteLock& operator=(const CWriteLock&) = delete;

private:
    SRWLOCK& m_lock;
};
