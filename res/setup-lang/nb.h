// Norwegian (Bokmål) texts of the wizard's pages (setup.pages.rci), in the names of en.h.
#include "undef.h"

#define T_CHARSET 1 // DEFAULT_CHARSET

#define T_WELCOME_CAPTION "Velkommen"
#define T_WELCOME_710 "Velkommen til installasjonsprogrammet for %s. Dette programmet installerer %s på datamaskinen."
#define T_WELCOME_720 "Det anbefales på det sterkeste at du avslutter alle Windows-programmer før du kjører dette installasjonsprogrammet."

#define T_INTERFACE_CAPTION "Valg av maskinvaregrensesnitt"
#define T_INTERFACE_202 "Velg grensesnittypen for enheten."
#define T_INTERFACE_301 "&PS/2-grensesnitt"
#define T_INTERFACE_303 "&USB-grensesnitt (Universal Serial Bus)"

#define T_DESTINATION_CAPTION "Velg målplassering"
#define T_DESTINATION_202 "Installasjonsprogrammet installerer %s i følgende mappe.\n\nKlikk Neste for å installere i denne mappen.\n\nKlikk Bla gjennom og velg en annen mappe for å installere i en annen mappe."
#define T_DESTINATION_203 "Hvis du ikke vil installere %s, kan du klikke Avbryt for å avslutte installasjonsprogrammet."
#define T_DESTINATION_GROUP "Målmappe"
#define T_DESTINATION_31 "Bla &gjennom..."

#define T_FOLDER_CAPTION "Velg programmappe"
#define T_FOLDER_710 "Installasjonsprogrammet legger til programikoner i programmappen som vises nedenfor. Du kan skrive inn et nytt mappenavn eller velge en mappe fra listen over eksisterende mapper. Klikk Neste for å fortsette."
#define T_FOLDER_PROGRAM_LABEL "&Programmappe:"
#define T_FOLDER_EXISTING_LABEL "E&ksisterende mapper:"

#define T_SUMMARY_CAPTION "Start installasjonen"
#define T_SUMMARY_711 "Installasjonsprogrammet er klart til å starte installasjonen. Klikk Tilbake for å se gjennom eller endre gjeldende konfigurasjon. Hvis konfigurasjonen er riktig, klikker du Neste for å starte installasjonen."
#define T_SUMMARY_701 "Gjeldende konfigurasjon:"

#define T_PROGRESS_CAPTION "Installasjon pågår"
#define T_PROGRESS_1450 "Vent mens installasjonsprogrammet kopierer filene til systemet."
#define T_PROGRESS_1003 "Installasjonsprogrammet oppdaterer registret og driveren. Vent litt..."
#define T_PROGRESS_1500 "Fra:"
#define T_PROGRESS_2 "Til:"

#define T_RESULT_CAPTION "Resultat av installasjonen"
#define T_RESULT_711 "%s er installert.\n\nDu må starte datamaskinen på nytt før du kan bruke %s."
#define T_RESULT_502 "&Start datamaskinen på nytt nå."
#define T_RESULT_503 "&Jeg starter datamaskinen på nytt senere."
#define T_RESULT_712 "Ta ut eventuelle disketter fra diskettstasjonene, og klikk Fullfør for å fullføre installasjonen."
#define T_RESULT_713 "%s er installert.\n\nKlikk Fullfør for å fullføre installasjonen."
#define T_RESULT_1004 "Installasjonsprogrammet kunne ikke installere driveren på systemet."
#define T_RESULT_1005 "Du har ikke tilstrekkelige rettigheter til å installere driveren. Logg på på nytt som administrator, og kjør dette installasjonsprogrammet igjen."
#define T_RESULT_1007 "Se README.TXT eller brukerhåndboken for mer informasjon."

#define T_EXIT_CAPTION "Avslutt installasjonen"
#define T_EXIT_1032 "Installasjonen er ikke fullført. Hvis du avslutter nå, blir ikke %s installert på datamaskinen."
#define T_EXIT_AGAIN "Du kan når som helst kjøre installasjonsprogrammet på nytt for å fullføre installasjonen."
#define T_EXIT_1033 "Klikk Fortsett for å fortsette installasjonen av %s. Klikk Avslutt installasjonen for å avslutte."
#define T_EXIT_RESUME "&Fortsett"
#define T_EXIT_EXIT "&Avslutt installasjonen"
