// Resource ids of the project list and project name dialogs (templates 202 and 203).
#pragma once
