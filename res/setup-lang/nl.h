// Dutch texts of the wizard's pages (setup.pages.rci), in the names of en.h.
#include "undef.h"

#define T_CHARSET 1 // DEFAULT_CHARSET

#define T_WELCOME_CAPTION "Welkom"
#define T_WELCOME_710 "Welkom bij Setup van %s. Met dit programma wordt %s op de computer geïnstalleerd."
#define T_WELCOME_720 "U wordt ten zeerste aangeraden alle Windows-programma's af te sluiten voordat u Setup uitvoert."

#define T_INTERFACE_CAPTION "Hardware-interface selecteren"
#define T_INTERFACE_202 "Selecteer het type interface van het apparaat."
#define T_INTERFACE_301 "&PS/2-interface"
#define T_INTERFACE_303 "&USB-interface (Universal Serial Bus)"

#define T_DESTINATION_CAPTION "Doellocatie kiezen"
#define T_DESTINATION_202 "Setup installeert %s in de volgende map.\n\nKlik op Volgende als u in deze map wilt installeren.\n\nKlik op Bladeren en selecteer een andere map als u in een andere map wilt installeren."
#define T_DESTINATION_203 "Als u %s niet wilt installeren, klikt u op Annuleren om Setup af te sluiten."
#define T_DESTINATION_GROUP "Doelmap"
#define T_DESTINATION_31 "&Bladeren..."

#define T_FOLDER_CAPTION "Programmamap selecteren"
#define T_FOLDER_710 "Setup voegt programmapictogrammen toe aan de programmamap die hieronder wordt weergegeven. U kunt een nieuwe mapnaam typen of een map in de lijst met bestaande mappen selecteren. Klik op Volgende om door te gaan."
#define T_FOLDER_PROGRAM_LABEL "&Programmamap:"
#define T_FOLDER_EXISTING_LABEL "B&estaande mappen:"

#define T_SUMMARY_CAPTION "Installatie starten"
#define T_SUMMARY_711 "Setup is gereed om met de installatie te beginnen. Klik op Vorige als u de huidige configuratie wilt controleren of wijzigen. Als de configuratie juist is, klikt u op Volgende om met de installatie te beginnen."
#define T_SUMMARY_701 "Huidige configuratie:"

#define T_PROGRESS_CAPTION "Installatie wordt uitgevoerd"
#define T_PROGRESS_1450 "Een ogenblik geduld. Setup kopieert de bestanden naar het systeem."
#define T_PROGRESS_1003 "Setup werkt het register en het stuurprogramma bij. Een ogenblik geduld..."
#define T_PROGRESS_1500 "Van:"
#define T_PROGRESS_2 "Naar:"

#define T_RESULT_CAPTION "Resultaat van Setup"
#define T_RESULT_711 "%s is met succes geïnstalleerd.\n\nU moet de computer opnieuw opstarten voordat u %s kunt gebruiken."
#define T_RESULT_502 "De computer &nu opnieuw opstarten."
#define T_RESULT_503 "De computer &later opnieuw opstarten."
#define T_RESULT_712 "Verwijder eventuele diskettes uit de diskettestations en klik op Voltooien om Setup te voltooien."
#define T_RESULT_713 "%s is met succes geïnstalleerd.\n\nKlik op Voltooien om Setup te voltooien."
#define T_RESULT_1004 "Setup kan het stuurprogramma niet op het systeem installeren."
#define T_RESULT_1005 "U hebt onvoldoende rechten om het stuurprogramma te installeren. Meld u opnieuw aan als beheerder en voer dit installatieprogramma opnieuw uit."
#define T_RESULT_1007 "Raadpleeg README.TXT of de gebruikershandleiding voor meer informatie."

#define T_EXIT_CAPTION "Setup afsluiten"
#define T_EXIT_1032 "Setup is niet voltooid. Als u Setup nu afsluit, wordt %s niet op de computer geïnstalleerd."
#define T_EXIT_AGAIN "U kunt Setup op elk gewenst moment opnieuw uitvoeren om de installatie te voltooien."
#define T_EXIT_1033 "Klik op Hervatten om door te gaan met de installatie van %s. Klik op Setup afsluiten om Setup te beëindigen."
#define T_EXIT_RESUME "&Hervatten"
#define T_EXIT_EXIT "Setup &afsluiten"
