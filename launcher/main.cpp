// The launcher: shows the update window and runs until the update sequence closes it.
#include "platform/Application.h"
#include "u_update.h"

int main() {
  platform::Application application;
  application.SetTitle(launcher::kApplicationTitle);
  launcher::TForm1 form1;
  application.Run();
  return 0;
}
