// Sign-in in a real browser: the first administrator on a fresh install, the login with the
// Enter key moving from name to password to button, a wrong password, and sign-out.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { startServer, openBrowser } from './harness.mjs';

let server;
let b;

before(async () => {
  server = await startServer();
  b = await openBrowser();
});
after(async () => {
  await b?.close();
  await server?.stop();
});

const activeId = () => b.page.evaluate(() => document.activeElement && document.activeElement.id);

test('first administrator, Enter-key login, wrong password, sign-out', async () => {
  const { page, dialogs } = b;
  await page.goto(server.url + '/');
  await page.waitForFunction(() => document.title === '系统登录');
  await b.settled();

  // A fresh install offers the first-administrator panel, with the focus on its name box.
  assert.ok(await page.isVisible('#firstadminpanel'));
  assert.equal(await activeId(), 'adminnameedit');
  await page.fill('#adminnameedit', '校长');
  await page.fill('#adminpasswordedit', 'geheim 1');
  await page.fill('#adminrepeatedit', 'geheim 2');
  await b.submitBy('#createadminbutton');
  assert.deepEqual(dialogs.pop(), { type: 'alert', message: '重复密码错误' });
  await page.fill('#adminnameedit', '校长');
  await page.fill('#adminpasswordedit', 'geheim 1');
  await page.fill('#adminrepeatedit', 'geheim 1');
  await b.submitBy('#createadminbutton');
  assert.deepEqual(dialogs.pop(), { type: 'alert', message: '创建用户成功，请使用新创建的用户登录!' });
  assert.equal(await page.isVisible('#firstadminpanel'), false);

  // Enter moves from the name to the password; Enter in the password signs in.
  assert.equal(await activeId(), 'usernameedit');
  await page.keyboard.type('校长');
  await page.keyboard.press('Enter');
  assert.equal(await activeId(), 'passwordedit');
  await page.keyboard.type('geheim 1');
  await Promise.all([page.waitForNavigation(), page.keyboard.press('Enter')]);
  await b.settled();
  assert.equal(await page.title(), 'Zeziza学生成绩管理系统');
  assert.match(await page.textContent('#navigationbar\\.usercaption'), /^·校长 · 超级管理员 · /);
  assert.equal(dialogs.length, 0);

  // Sign-out shows the login page; a wrong password is refused with an alert.
  await b.submitBy('#navigationbar\\.signoutlink');
  assert.equal(await page.title(), '系统登录');
  assert.equal(await page.isVisible('#firstadminpanel'), false);
  await page.fill('#usernameedit', '校长');
  await page.fill('#passwordedit', 'Geheim 1');
  await b.submitBy('#signinbutton');
  assert.deepEqual(dialogs.pop(), { type: 'alert', message: '用户名或密码错误！' });
  assert.equal(await page.title(), '系统登录');
  assert.equal(await page.inputValue('#passwordedit'), '');

  await page.fill('#usernameedit', '校长');
  await page.fill('#passwordedit', 'geheim 1');
  await b.submitBy('#signinbutton');
  assert.equal(await page.title(), 'Zeziza学生成绩管理系统');
  assert.equal(dialogs.length, 0);
});
