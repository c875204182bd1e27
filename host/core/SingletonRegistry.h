#pragma once
// Process-wide singletons registered under a name, so that two libraries (or two loads of one)
// agree on one object. The registry deletes what it holds at process exit, in the reverse
// order of registration.

#include <mutex>
#include <string>
#include <vector>

// Called on any thread.
class SingletonRegistry
{
  public:
    // Called with the object and the argument given at registration.
    using Deleter = void (*)(void* in_pObject, void* in_pDeleterArg);

    static SingletonRegistry& getInstance();

    // Registers the object unless the name is taken; gives the object registered under the name
    // afterwards: in_pObject, or the one registered earlier (the caller then still owns in_pObject).
    void* registerSingleton(const std::string& in_strName, void* in_pObject, Deleter in_deleter,
                            void* in_pDeleterArg);
    // Null when nothing is registered under the name.
    void* find(const std::string& in_strName) const;

    ~SingletonRegistry();

  private:
    struct Entry
    {
        std::string strName;
        void* pObject;
        Deleter deleter;
        void* pDeleterArg;
    };

    SingletonRegistry() = default;

    mutable std::mutex m_mutex;
    std::vector<Entry> m_vEntries; // in registration order
};
