// Swedish texts of the wizard's pages (setup.pages.rci), in the names of en.h.
#include "undef.h"

#define T_CHARSET 1 // DEFAULT_CHARSET

#define T_WELCOME_CAPTION "Välkommen"
#define T_WELCOME_710 "Välkommen till installationsprogrammet för %s. Programmet installerar %s på datorn."
#define T_WELCOME_720 "Vi rekommenderar starkt att du avslutar alla Windows-program innan du kör installationsprogrammet."

#define T_INTERFACE_CAPTION "Val av maskinvarugränssnitt"
#define T_INTERFACE_202 "Välj typ av gränssnitt för enheten."
#define T_INTERFACE_301 "&PS/2-gränssnitt"
#define T_INTERFACE_303 "&USB-gränssnitt (Universal Serial Bus)"

#define T_DESTINATION_CAPTION "Välj målplats"
#define T_DESTINATION_202 "Installationsprogrammet installerar %s i följande mapp.\n\nKlicka på Nästa om du vill installera i den här mappen.\n\nKlicka på Bläddra och välj en annan mapp om du vill installera i en annan mapp."
#define T_DESTINATION_203 "Om du inte vill installera %s klickar du på Avbryt för att avsluta installationsprogrammet."
#define T_DESTINATION_GROUP "Målmapp"
#define T_DESTINATION_31 "Bl&äddra..."

#define T_FOLDER_CAPTION "Välj programmapp"
#define T_FOLDER_710 "Installationsprogrammet lägger till programikoner i den programmapp som visas nedan. Du kan skriva ett nytt mappnamn eller välja en mapp i listan över befintliga mappar. Klicka på Nästa för att fortsätta."
#define T_FOLDER_PROGRAM_LABEL "&Programmapp:"
#define T_FOLDER_EXISTING_LABEL "&Befintliga mappar:"

#define T_SUMMARY_CAPTION "Starta installationen"
#define T_SUMMARY_711 "Installationsprogrammet är klart att börja installera. Klicka på Tillbaka om du vill granska eller ändra den aktuella konfigurationen. Om konfigurationen är rätt klickar du på Nästa för att börja installera."
#define T_SUMMARY_701 "Aktuell konfiguration:"

#define T_PROGRESS_CAPTION "Installation pågår"
#define T_PROGRESS_1450 "Vänta medan installationsprogrammet kopierar filerna till datorn."
#define T_PROGRESS_1003 "Installationsprogrammet uppdaterar registret och drivrutinen. Vänta..."
#define T_PROGRESS_1500 "Från:"
#define T_PROGRESS_2 "Till:"

#define T_RESULT_CAPTION "Installationsresultat"
#define T_RESULT_711 "%s har installerats.\n\nDu måste starta om datorn innan du kan använda %s."
#define T_RESULT_502 "&Starta om datorn nu."
#define T_RESULT_503 "&Jag startar om datorn senare."
#define T_RESULT_712 "Ta ut eventuella disketter ur diskettenheterna och klicka på Slutför för att slutföra installationen."
#define T_RESULT_713 "%s har installerats.\n\nKlicka på Slutför för att slutföra installationen."
#define T_RESULT_1004 "Installationsprogrammet kunde inte installera drivrutinen på datorn."
#define T_RESULT_1005 "Du har inte tillräcklig behörighet för att installera drivrutinen. Logga in igen som administratör och kör installationsprogrammet igen."
#define T_RESULT_1007 "Mer information finns i README.TXT eller i användarhandboken."

#define T_EXIT_CAPTION "Avsluta installationen"
#define T_EXIT_1032 "Installationen är inte klar. Om du avslutar nu installeras inte %s på datorn."
#define T_EXIT_AGAIN "Du kan när som helst köra installationsprogrammet igen för att slutföra installationen."
#define T_EXIT_1033 "Klicka på Fortsätt om du vill fortsätta installera %s. Klicka på Avsluta installationen om du vill avsluta."
#define T_EXIT_RESUME "&Fortsätt"
#define T_EXIT_EXIT "&Avsluta installationen"
