// The object registry behind CreateOleObject: in-process factories first, then
// the classes the registry file names, each served by a factory function in
// a shared library.

#include <dlfcn.h>

#include <map>
#include <mutex>

#include "platform/core/Dispatch.h"
#include "platform/core/Registry.h"
#include "platform/core/SysUtils.h"

namespace platform {

namespace {

// Class names compare without regard to case, as the registry's keys do.
std::string Key(std::string_view className) { return UpperCase(className); }

struct Factories {
  std::mutex Lock;
  std::map<std::string, std::function<DispatchPtr()>> ByClass;
};

Factories& InProcess() {
  static Factories factories;
  return factories;
}

// Libraries stay loaded for the life of the process: objects they created may
// outlive any count we could keep, and the suite's server creates objects
// from several threads at once.
struct Libraries {
  std::mutex Lock;
  std::map<std::string, void*> ByPath;
};

Libraries& Loaded() {
  static Libraries libraries;
  return libraries;
}

std::string FolderOf(const std::string& path) {
  const std::string folder = ExtractFilePath(path);
  return folder.empty() ? "./" : folder;
}

// A relative name is looked for beside the registry file, then beside the
// running program. When neither holds it, the first place is kept so that the
// loader's message names a path the registry file led to.
std::string ResolveLibrary(const std::string& library) {
  if (library.empty() || library.front() == PathDelim) return library;
  const std::string besideRegistry = FolderOf(RegistryFile()) + library;
  if (FileExists(besideRegistry)) return besideRegistry;
  const std::string program = ProgramFolder();
  if (!program.empty() && FileExists(program + library)) return program + library;
  return besideRegistry;
}

ObjectFactory FindFactory(const std::string& path, const std::string& factory) {
  Libraries& libraries = Loaded();
  std::lock_guard<std::mutex> guard(libraries.Lock);
  void*& handle = libraries.ByPath[path];
  if (!handle) {
    handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
      const char* error = dlerror();
      libraries.ByPath.erase(path);
      throw EOleError(error ? error : "Cannot load " + path);
    }
  }
  dlerror();
  void* symbol = dlsym(handle, factory.c_str());
  if (!symbol) {
    const char* error = dlerror();
    throw EOleError(error ? error : path + ": undefined symbol: " + factory);
  }
  return reinterpret_cast<ObjectFactory>(symbol);
}

// Runs a factory. Failures other than the call boundary's own become
// EOleException with the class name as their source.
template <class F>
DispatchPtr Create(std::string_view className, F&& create) {
  try {
    return create();
  } catch (const EOleError&) {
    throw;
  } catch (const Exception& e) {
    throw EOleException(e.Message(), std::string(className));
  } catch (const std::exception& e) {
    throw EOleException(e.what(), std::string(className));
  }
}

}  // namespace

void RegisterObjectFactory(std::string className, std::function<DispatchPtr()> factory) {
  Factories& factories = InProcess();
  std::lock_guard<std::mutex> guard(factories.Lock);
  factories.ByClass[Key(className)] = std::move(factory);
}

void UnregisterObjectFactory(std::string_view className) {
  Factories& factories = InProcess();
  std::lock_guard<std::mutex> guard(factories.Lock);
  factories.ByClass.erase(Key(className));
}

DispatchPtr CreateOleObject(std::string_view className) {
  std::function<DispatchPtr()> inProcess;
  {
    Factories& factories = InProcess();
    std::lock_guard<std::mutex> guard(factories.Lock);
    const auto it = factories.ByClass.find(Key(className));
    if (it != factories.ByClass.end()) inProcess = it->second;
  }

  DispatchPtr result;
  if (inProcess) {
    // Called outside the lock: a factory may create further objects.
    result = Create(className, inProcess);
  } else {
    Registry registry(RegRoot::ClassesRoot);
    if (className.empty() || !registry.OpenKeyReadOnly(className))
      throw EOleError("Invalid class string");
    const std::string library = registry.ReadString("Library");
    const std::string factoryName = registry.ReadString("Factory");
    if (library.empty() || factoryName.empty()) throw EOleError("Invalid class string");
    const ObjectFactory factory = FindFactory(ResolveLibrary(library), factoryName);
    const std::string name(className);
    result = Create(className, [&] {
      DispatchPtr object;
      factory(name.c_str(), &object);
      return object;
    });
  }
  if (!result) throw EOleError("No object was created for class '" + std::string(className) + "'");
  return result;
}

}  // namespace platform
