#pragma once

#include <string>

#include "platform/core/Variant.h"

/* The automation objects outside the suite's server: the queue manager that
   opens the report designer, and the browser that shows a web report. */
namespace Outside {

inline constexpr char kQueueManagerClass[] = "QueueManagerC.Class1";
inline constexpr char kBrowserClass[] = "InternetExplorer.Application";

/* A new queue manager by class name. */
platform::Variant CreateQueueManager();
/* OpenReport(Args): 0 when the designer opened. */
platform::Variant OpenReport(const platform::Variant& queueManager, const platform::Variant& args);

/* A new browser by class name. */
platform::Variant CreateBrowser();
/* Puts the browser at (Left, Top) with Width x Height, without menu,
   address and tool bars, and makes it visible. */
void PlaceBrowser(const platform::Variant& browser, int left, int top, int width, int height);
/* Navigate(Url). */
void Navigate(const platform::Variant& browser, const std::string& url);

}  // namespace Outside
